#include "app/win32/LMImageStampBlock.h"

#include "app/LMImageStamp.h"

namespace {
// The marker spelled out byte by byte; the digest starts as zeros and is
// filled in after linking. volatile and used: it is only ever read from the
// file, never through this object.
__attribute__((used)) volatile const uint8_t g_stampBlock[lmstamp::kBlockSize] = {
    'L', 'u', 'm', 'b', 'r', 'a', 'S', 't', 'a', 'm', 'p', 0x20, 0x31, 0x01, 0x37, 0x21};
}  // namespace

const volatile uint8_t* LMImageStampBlock()
{
    return g_stampBlock;
}
