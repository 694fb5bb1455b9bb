#pragma once
// Loading and saving a settings store through the real registry.
#include "config/NPSStore.h"

bool NPSLoadAll(NPSStore& store);
bool NPSSaveAll(NPSStore& store, bool force);
