#pragma once
// Gives the calling thread a name that debuggers and crash dumps show
// ("DirWatch"). Harmless when no debugger is attached.
void NSetThreadName(const char* name);
