#include "foundation/win32/NRandomCrypto.h"

#include <climits>


namespace {
using RtlGenRandomFn = BOOLEAN(WINAPI*)(PVOID buffer, ULONG length);

// advapi32 exports RtlGenRandom as SystemFunction036; it has no import library entry.
RtlGenRandomFn SystemRandom()
{
    static const RtlGenRandomFn fn = [] {
        HMODULE advapi = ::GetModuleHandleW(L"advapi32.dll");
        if (advapi == nullptr)
            advapi = ::LoadLibraryW(L"advapi32.dll");
        return advapi ? reinterpret_cast<RtlGenRandomFn>(reinterpret_cast<void*>(::GetProcAddress(advapi, "SystemFunction036")))
                      : nullptr;
    }();
    return fn;
}
}  // namespace

NRandomCrypto& NRandomCrypto::Instance()
{
    static NRandomCrypto s_instance;
    return s_instance;
}

NRandomCrypto::NRandomCrypto()
{
    std::lock_guard<std::mutex> guard(m_lock);
    AcquireLocked();
}

NRandomCrypto::~NRandomCrypto()
{
    std::lock_guard<std::mutex> guard(m_lock);
    ReleaseLocked();
}

bool NRandomCrypto::AcquireLocked()
{
    if (m_provider != 0)
        return true;
    HCRYPTPROV provider = 0;
    if (!::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return false;
    m_provider = provider;
    return true;
}

void NRandomCrypto::ReleaseLocked()
{
    if (m_provider != 0)
        ::CryptReleaseContext(m_provider, 0);
    m_provider = 0;
}

bool NRandomCrypto::Reseed()
{
    std::lock_guard<std::mutex> guard(m_lock);
    ReleaseLocked();
    return AcquireLocked() || SystemRandom() != nullptr;
}

bool NRandomCrypto::GetBytes(void* buffer, size_t size)
{
    if (size == 0)
        return true;
    if (buffer == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto* out = static_cast<BYTE*>(buffer);
    std::lock_guard<std::mutex> guard(m_lock);
    AcquireLocked();
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        bool ok = m_provider != 0 && ::CryptGenRandom(m_provider, chunk, out) != FALSE;
        if (!ok) {
            const RtlGenRandomFn fallback = SystemRandom();
            ok = fallback != nullptr && fallback(out, chunk) != FALSE;
        }
        if (!ok) {
            if (::GetLastError() == 0)
                ::SetLastError(ERROR_NOT_SUPPORTED);
            return false;
        }
        out += chunk;
        size -= chunk;
    }
    return true;
}
