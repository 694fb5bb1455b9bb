#pragma once
// Class identity that survives module boundaries and bad pointers.
//
// An object of a class derived from NClassInfo begins with its virtual table
// pointer followed by the 32-bit marker kMarker, and its first virtual
// operation returns the class's static descriptor. NClassInfo::IsA checks an
// arbitrary pointer against a descriptor without ever faulting, so it may be
// used on pointers that come back from plug-ins or from stale references.
//
// Declaring a class:
//     class LMLog : public NClassInfo {
//         N_DECLARE_CLASS_INFO(LMLog)
//         ...
//     };
//     N_DEFINE_CLASS_INFO(LMLog, NClassInfo)      // in LMLog.cpp
// and testing: NClassInfo::IsA(pointer, LMLog::ms_classDesc).
#include <cstdint>

// Descriptor of one class. Two descriptors describe the same class when they
// are the same object or have equal size, name and bases: a plug-in built
// with the same header has its own copy of each descriptor.
struct NClassDesc {
    uint32_t objectSize;
    const char* className;
    const NClassDesc* base;  // nullptr for NClassInfo itself
};

class NClassInfo {
public:
    static constexpr uint32_t kMarker = 0xC1A551F0u;
    // Pointers below this are never objects (null plus a member offset).
    static constexpr uintptr_t kLowestObjectAddress = 512;
    // Descriptor chains deeper than this are taken for garbage (or a cycle).
    static constexpr int kMaxDepth = 32;
    // Longest class name compared; longer names are taken for garbage.
    static constexpr int kMaxNameLength = 255;

    static const NClassDesc ms_classDesc;

    // Must stay the first virtual operation: IsA finds it in slot 0.
    virtual const NClassDesc& ClassDesc() const;
    virtual ~NClassInfo();

    // True when object points at a live NClassInfo whose class is desc or is
    // derived from it. Never faults: null, near-null, unmapped, inaccessible,
    // guard-page and garbage pointers all answer false.
    static bool IsA(const void* object, const NClassDesc& desc);

    // True when both describe the same class (see NClassDesc).
    static bool SameClass(const NClassDesc& a, const NClassDesc& b);

protected:
    NClassInfo() = default;
    NClassInfo(const NClassInfo&) = default;  // the marker is the same for every object
    NClassInfo& operator=(const NClassInfo&) { return *this; }

private:
    // Cleared on destruction so that a pointer to a destroyed object whose
    // memory was not reused yet no longer passes IsA. Volatile keeps the
    // compiler from dropping the store as dead.
    volatile uint32_t m_marker = kMarker;
};

// Null or near-null: the object pointers that null-tolerant operations refuse.
// Callers pass `this`; the empty asm hides from the optimiser that `this` is
// never null in valid C++, which would otherwise let it drop the test.
inline bool NIsBadObjectPtr(const void* object)
{
#if defined(__GNUC__)
    asm("" : "+r"(object));
#endif
    return reinterpret_cast<uintptr_t>(object) < NClassInfo::kLowestObjectAddress;
}

// Free-function spelling of NClassInfo::IsA.
inline bool NIsA(const void* object, const NClassDesc& desc) { return NClassInfo::IsA(object, desc); }

// Inside the class body: the descriptor and the override of ClassDesc.
#define N_DECLARE_CLASS_INFO(ClassName)                  \
public:                                                  \
    static const NClassDesc ms_classDesc;                \
    const NClassDesc& ClassDesc() const override;        \
                                                         \
private:

// In one source file: defines the descriptor with its base class.
#define N_DEFINE_CLASS_INFO(ClassName, BaseName)                                                           \
    const NClassDesc ClassName::ms_classDesc = {static_cast<uint32_t>(sizeof(ClassName)), #ClassName,    \
                                                &BaseName::ms_classDesc};                                 \
    const NClassDesc& ClassName::ClassDesc() const { return ms_classDesc; }
