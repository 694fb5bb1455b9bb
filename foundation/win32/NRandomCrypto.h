#pragma once
// The process-wide source of random bytes from the platform's cryptographic
// provider. All threads share the one object; every operation is thread-safe.
#include <windows.h>
#include <wincrypt.h>

#include <mutex>

#include "foundation/INRandomSource.h"

class NRandomCrypto final : public INRandomSource {
public:
    // The program's single instance, created on first use.
    static NRandomCrypto& Instance();

    NRandomCrypto();
    ~NRandomCrypto() override;
    NRandomCrypto(const NRandomCrypto&) = delete;
    NRandomCrypto& operator=(const NRandomCrypto&) = delete;

    // Drops the provider context and acquires a fresh one, so that the
    // generator's state is drawn again from the system's entropy.
    bool Reseed();

    // INRandomSource. Falls back to the system's RtlGenRandom when no provider
    // context can be had, so a caller gets random bytes or a clear failure.
    bool GetBytes(void* buffer, size_t size) override;

private:
    bool AcquireLocked();
    void ReleaseLocked();

    std::mutex m_lock;
    HCRYPTPROV m_provider = 0;  // guarded by m_lock
};
