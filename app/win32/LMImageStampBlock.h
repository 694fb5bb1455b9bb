#pragma once
// The stamp block inside the executable, written by the build (see
// app/LMImageStamp.h). Taking its address keeps the linker from dropping it.
#include <cstdint>

const volatile uint8_t* LMImageStampBlock();
