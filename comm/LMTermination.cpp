#include "comm/LMTermination.h"

std::string_view LMTxTerminator(uint32_t txTerm)
{
    switch (txTerm) {
    case lmtx::kCR:
        return "\r";
    case lmtx::kLF:
        return "\n";
    case lmtx::kCRLF:
        return "\r\n";
    default:
        return {};
    }
}
