#pragma once
// Platform error numbers used by the portable core. They have the values of the
// Win32 error codes of the same meaning, so a number set here reads the same
// when it reaches GetLastError or a message box on Windows.
#include <cstdint>

namespace nerr {
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kOutOfMemory = 14;
constexpr uint32_t kBadCommand = 22;
constexpr uint32_t kNotSupported = 50;
constexpr uint32_t kFileExists = 80;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kBrokenPipe = 109;
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kInsufficientBuffer = 122;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kBusy = 170;
constexpr uint32_t kAlreadyExists = 183;
constexpr uint32_t kMoreData = 234;
constexpr uint32_t kNoMoreItems = 259;
constexpr uint32_t kInvalidToken = 315;
constexpr uint32_t kUnhandledException = 574;
constexpr uint32_t kOperationAborted = 995;
constexpr uint32_t kIoPending = 997;
constexpr uint32_t kNoUnicodeTranslation = 1113;
constexpr uint32_t kPossibleDeadlock = 1131;
constexpr uint32_t kRequestAborted = 1235;
constexpr uint32_t kTimeout = 1460;
constexpr uint32_t kDeviceRemoved = 1617;
}  // namespace nerr
