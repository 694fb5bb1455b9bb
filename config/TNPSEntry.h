#pragma once
// The typed settings entries: TNPSEntry<variable type, stored type>.
//   TNPSEntry<TNAtom8<bool>, bool>                  REG_DWORD 0 or 1
//   TNPSEntry<TNAtom32<int>, unsigned int>          REG_DWORD
//   TNPSEntry<TNAtom32<unsigned int>, unsigned int> REG_DWORD
//   TNPSEntry<std::wstring, std::wstring>           REG_SZ
// Numbers load from REG_DWORD or REG_DWORD_BIG_ENDIAN of exactly 4 bytes;
// strings from REG_SZ or REG_EXPAND_SZ, taken as stored (not expanded).
#include <cstring>
#include <string>
#include <type_traits>

#include "config/NPSEntry.h"
#include "config/RegText.h"
#include "config/TNAtom.h"
#include "foundation/Crc32.h"

// Reads a 4-byte DWORD value in either byte order; false for anything else.
bool NReadRegDword(const NRegValue& value, uint32_t& out);

template <class TVar, class TStored>
class TNPSEntry : public NPSEntry {
public:
    TNPSEntry(std::wstring name, TVar* variable) : NPSEntry(std::move(name)), m_variable(variable) { TakeChecksum(); }

    uint32_t CurrentCrc() const override
    {
        if (m_variable == nullptr) return NCrc32(nullptr, 0);
        if constexpr (std::is_same_v<TVar, std::wstring>) {
            std::vector<uint8_t> bytes;
            NAppendUtf16Bytes(*m_variable, bytes);
            return NCrc32(bytes.data(), bytes.size());
        } else {
            const auto v = m_variable->Get();  // one read, then its bytes
            return NCrc32(&v, sizeof v);
        }
    }

    std::wstring Describe() const override
    {
        if constexpr (std::is_same_v<TVar, std::wstring>)
            return L"\"" + (m_variable != nullptr ? *m_variable : std::wstring()) + L"\"";
        else
            return std::wstring(TypeName()) + L" of " + std::to_wstring(sizeof(TVar)) + L" bytes";
    }

    TVar* Variable() const noexcept { return m_variable; }

protected:
    bool Accept(const NRegValue& value) override
    {
        if (m_variable == nullptr) return false;
        if constexpr (std::is_same_v<TVar, std::wstring>) {
            if (value.Type() != nreg::kSz && value.Type() != nreg::kExpandSz) return false;
            *m_variable = NDecodeRegSz(value.Data(), value.Size());
            return true;
        } else {
            uint32_t n = 0;
            if (!NReadRegDword(value, n)) return false;
            if constexpr (std::is_same_v<TStored, bool>)
                m_variable->Set(n != 0);
            else
                m_variable->Set(static_cast<std::remove_cv_t<decltype(m_variable->Get())>>(n));
            return true;
        }
    }

    uint32_t Encode(std::vector<uint8_t>& bytes) const override
    {
        if constexpr (std::is_same_v<TVar, std::wstring>) {
            bytes = NEncodeRegSz(m_variable != nullptr ? *m_variable : std::wstring());
            return nreg::kSz;
        } else {
            uint32_t n = 0;
            if (m_variable != nullptr) n = static_cast<uint32_t>(m_variable->Get());
            if constexpr (std::is_same_v<TStored, bool>) n = n != 0 ? 1 : 0;
            bytes = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                     static_cast<uint8_t>(n >> 24)};
            return nreg::kDword;
        }
    }

private:
    static const wchar_t* TypeName()
    {
        if constexpr (std::is_same_v<TVar, TNAtom8<bool>>) return L"TNAtom8<bool>";
        else if constexpr (std::is_same_v<TVar, TNAtom32<int>>) return L"TNAtom32<int>";
        else return L"TNAtom32<unsigned int>";
    }

    TVar* m_variable;
};

using NPSBoolEntry = TNPSEntry<TNAtom8<bool>, bool>;
using NPSInt32Entry = TNPSEntry<TNAtom32<int>, unsigned int>;
using NPSUInt32Entry = TNPSEntry<TNAtom32<unsigned int>, unsigned int>;
using NPSStringEntry = TNPSEntry<std::wstring, std::wstring>;
