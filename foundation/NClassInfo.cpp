#include "foundation/NClassInfo.h"

#include <cstddef>
#include <cstring>

#include "foundation/NMemoryProbe.h"

const NClassDesc NClassInfo::ms_classDesc = {static_cast<uint32_t>(sizeof(NClassInfo)), "NClassInfo", nullptr};

const NClassDesc& NClassInfo::ClassDesc() const { return ms_classDesc; }

NClassInfo::~NClassInfo() { m_marker = 0; }

namespace {
// The start of every NClassInfo object as laid out by the C++ ABI we build with:
// the virtual table pointer, then the marker.
struct SObjectHeader {
    const void* const* vtable;
    uint32_t marker;
};

// One level of a descriptor chain, copied out of memory that may be anything.
struct SDescCopy {
    const NClassDesc* address;
    uint32_t objectSize;
    const NClassDesc* base;
    char name[NClassInfo::kMaxNameLength + 1];
};

// Reads a NUL-terminated name of at most maxLength characters. Reads stop at
// page ends so that a short name just before an unmapped page still reads.
bool TryReadName(const char* text, char* out, size_t maxLength)
{
    constexpr uintptr_t kPage = 4096;
    size_t done = 0;
    while (done <= maxLength) {
        const auto at = reinterpret_cast<uintptr_t>(text + done);
        size_t chunk = static_cast<size_t>(kPage - (at % kPage));
        if (chunk > maxLength + 1 - done)
            chunk = maxLength + 1 - done;
        if (!NTryReadMemory(text + done, out + done, chunk))
            return false;
        if (std::memchr(out + done, '\0', chunk) != nullptr)
            return true;
        done += chunk;
    }
    return false;  // no terminator within the limit: not a name
}

bool TryCopyDesc(const NClassDesc* desc, SDescCopy& out)
{
    NClassDesc raw;
    if (NIsBadObjectPtr(desc) || !NTryReadMemory(desc, &raw, sizeof raw))
        return false;
    if (NIsBadObjectPtr(raw.className) || !TryReadName(raw.className, out.name, NClassInfo::kMaxNameLength))
        return false;
    out.address = desc;
    out.objectSize = raw.objectSize;
    out.base = raw.base;
    return true;
}

// Does the copied chain from level first on describe the same class as the
// trusted descriptor want?
bool ChainMatches(const SDescCopy* chain, int count, int first, const NClassDesc* want)
{
    for (int i = first; i < count; ++i, want = want->base) {
        if (want == nullptr)
            return false;
        if (chain[i].address == want)
            return true;
        if (chain[i].objectSize != want->objectSize || std::strcmp(chain[i].name, want->className) != 0)
            return false;
    }
    return want == nullptr;
}
}  // namespace

bool NClassInfo::SameClass(const NClassDesc& a, const NClassDesc& b)
{
    const NClassDesc* x = &a;
    const NClassDesc* y = &b;
    for (int depth = 0; depth <= kMaxDepth; ++depth) {
        if (x == y)
            return true;
        if (x == nullptr || y == nullptr || x->objectSize != y->objectSize || std::strcmp(x->className, y->className) != 0)
            return false;
        x = x->base;
        y = y->base;
    }
    return false;
}

bool NClassInfo::IsA(const void* object, const NClassDesc& desc)
{
    if (NIsBadObjectPtr(object))
        return false;
    SObjectHeader header;
    if (!NTryReadMemory(object, &header, offsetof(SObjectHeader, marker) + sizeof header.marker))
        return false;
    if (header.marker != kMarker)
        return false;
    // Before the virtual call: the table must be readable and its first slot
    // must point at code, or the call itself would fault.
    const void* firstSlot = nullptr;
    if (NIsBadObjectPtr(header.vtable) || reinterpret_cast<uintptr_t>(header.vtable) % alignof(void*) != 0 ||
        !NTryReadMemory(header.vtable, &firstSlot, sizeof firstSlot) || !NIsExecutableAddress(firstSlot))
        return false;

    const NClassDesc* own = &static_cast<const NClassInfo*>(object)->ClassDesc();

    // The descriptors may live in another module or be garbage: copy the whole
    // chain through the probe, then compare the copies.
    SDescCopy chain[kMaxDepth];
    int count = 0;
    for (const NClassDesc* d = own; d != nullptr; d = chain[count - 1].base) {
        if (count == kMaxDepth || !TryCopyDesc(d, chain[count]))
            return false;
        ++count;
    }
    for (int i = 0; i < count; ++i)
        if (ChainMatches(chain, count, i, &desc))
            return true;
    return false;
}
