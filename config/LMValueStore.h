#pragma once
// Where a settings store keeps its values: one key of named string and
// 32-bit number values. The program's is the registry
// (config/win32/LMRegistryValueStore.h); tests hand in a map.
#include <cstdint>
#include <string>

struct SLMStoredValue {
    enum EType { kMissing, kString, kNumber, kOther };
    EType type = kMissing;
    std::wstring text;
    uint32_t number = 0;
};

class ILMValueStore {
public:
    virtual ~ILMValueStore() = default;
    // Opens path for reading, or for writing (creating it); false with the
    // last error when it cannot.
    virtual bool Open(const std::wstring& path, bool write) = 0;
    virtual void Close() = 0;
    virtual SLMStoredValue Read(const std::wstring& name) = 0;
    virtual bool WriteString(const std::wstring& name, const std::wstring& text) = 0;
    virtual bool WriteNumber(const std::wstring& name, uint32_t number) = 0;
};
