#pragma once
// What console configurations need from the rest of the program, handed to
// each by its owner (the main window's list). Every pointer may be null:
// ports then count as missing, and recording files go to the program folder.
#include <cstdint>

class ILMComPortDirectory;
class ILMLogFolderSource;

struct SLMConsEnvironment {
    ILMComPortDirectory* ports = nullptr;
    ILMLogFolderSource* logFolder = nullptr;
    // The registered message "LMConsConfig::ms_cnMsgIDUpdateSetup".
    uint32_t msgUpdateSetup = 0;
};
