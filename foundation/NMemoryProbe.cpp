#include "foundation/NMemoryProbe.h"

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
// The platform's memory query is declared here rather than through windows.h so
// that the portable core stays free of platform headers (as LastError.cpp does).
// The record is MEMORY_BASIC_INFORMATION, whose layout has not changed since NT.
namespace {
struct SMemInfo {
    void* baseAddress;
    void* allocationBase;
    unsigned long allocationProtect;
#if defined(_WIN64)
    unsigned short partitionId;
#endif
    size_t regionSize;
    unsigned long state;
    unsigned long protect;
    unsigned long type;
};
constexpr unsigned long kMemCommit = 0x1000;
constexpr unsigned long kPageNoAccess = 0x01;
constexpr unsigned long kPageGuard = 0x100;
constexpr unsigned long kReadable = 0x02 | 0x04 | 0x08 | 0x20 | 0x40 | 0x80;  // R, RW, WC, XR, XRW, XWC
constexpr unsigned long kExecutable = 0x10 | 0x20 | 0x40 | 0x80;
}  // namespace
extern "C" __declspec(dllimport) size_t __stdcall VirtualQuery(const void* address, SMemInfo* info, size_t length);

namespace {
// Walks the regions that cover [address, address + size) and asks each one.
bool RangeHasProtection(const void* address, size_t size, unsigned long wanted)
{
    auto p = reinterpret_cast<uintptr_t>(address);
    const uintptr_t end = p + size;
    if (end < p)
        return false;
    do {
        SMemInfo info{};
        if (VirtualQuery(reinterpret_cast<const void*>(p), &info, sizeof info) != sizeof info)
            return false;
        if (info.state != kMemCommit || (info.protect & (kPageNoAccess | kPageGuard)) != 0 || (info.protect & wanted) == 0)
            return false;
        const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(info.baseAddress) + info.regionSize;
        if (regionEnd <= p)
            return false;
        p = regionEnd;
    } while (p < end);
    return true;
}
}  // namespace

bool NTryReadMemory(const void* address, void* buffer, size_t size)
{
    if (size == 0)
        return true;
    if (address == nullptr || !RangeHasProtection(address, size, kReadable))
        return false;
    // Without structured exception handling a region freed by another thread
    // between the query and the copy still faults; callers only probe memory
    // that nobody is releasing at the same time.
    std::memcpy(buffer, address, size);
    return true;
}

bool NIsExecutableAddress(const void* address)
{
    return address != nullptr && RangeHasProtection(address, 1, kExecutable);
}

#else  // POSIX

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/uio.h>
#include <unistd.h>

namespace {
// The kernel copies for us and reports EFAULT for any byte that cannot be read,
// so the probe and the read are one step and cannot race.
int ReadThroughKernel(const void* address, void* buffer, size_t size)
{
    iovec local{buffer, size};
    iovec remote{const_cast<void*>(address), size};
    const ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (n == static_cast<ssize_t>(size))
        return 1;
    if (n < 0 && (errno == ENOSYS || errno == EPERM))
        return -1;  // not available here (seccomp, old kernel): use the pipe
    return 0;
}

}  // namespace

// write() reports EFAULT instead of faulting on unreadable source bytes.
bool nmemprobe_detail::ReadThroughPipe(const void* address, void* buffer, size_t size)
{
    static std::mutex s_lock;
    static int s_fds[2] = {-1, -1};
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_fds[0] < 0 && pipe2(s_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_fds[0] = s_fds[1] = -1;
        return false;
    }
    auto src = static_cast<const unsigned char*>(address);
    auto dst = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const size_t chunk = size < 4096 ? size : 4096;  // below PIPE_BUF: all or nothing
        const ssize_t w = write(s_fds[1], src, chunk);
        if (w != static_cast<ssize_t>(chunk)) {
            // A write that faulted part-way leaves the bytes before the fault in
            // the pipe; they must not reach the next caller's buffer.
            unsigned char drain[4096];
            while (read(s_fds[0], drain, sizeof drain) > 0) {
            }
            return false;
        }
        if (read(s_fds[0], dst, chunk) != static_cast<ssize_t>(chunk))
            return false;
        src += chunk;
        dst += chunk;
        size -= chunk;
    }
    return true;
}

bool NTryReadMemory(const void* address, void* buffer, size_t size)
{
    if (size == 0)
        return true;
    if (address == nullptr)
        return false;
    const int r = ReadThroughKernel(address, buffer, size);
    if (r >= 0)
        return r == 1;
    return nmemprobe_detail::ReadThroughPipe(address, buffer, size);
}

bool NIsExecutableAddress(const void* address)
{
    if (address == nullptr)
        return false;
    // The mappings list is the only portable source of a page's execute right.
    FILE* maps = std::fopen("/proc/self/maps", "re");
    if (maps == nullptr)
        return false;
    const auto a = reinterpret_cast<uintptr_t>(address);
    bool found = false;
    char line[512];
    while (!found && std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long long lo = 0, hi = 0;
        char perms[5] = {};
        if (std::sscanf(line, "%llx-%llx %4s", &lo, &hi, perms) == 3 && a >= lo && a < hi)
            found = perms[0] == 'r' && perms[2] == 'x';
        if (!found && std::strchr(line, '\n') == nullptr) {
            int c;
            while ((c = std::fgetc(maps)) != EOF && c != '\n') {
            }
        }
    }
    std::fclose(maps);
    return found;
}
#endif
