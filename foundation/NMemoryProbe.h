#pragma once
// Fault-free reads of memory whose validity is unknown: pointers handed in by
// plug-ins or kept past an object's life. Nothing here touches the bytes
// directly before the platform has said they can be read, so an unmapped,
// inaccessible or guard page gives false instead of an access fault (and a
// guard page keeps its guard).
#include <cstddef>

// Copies size bytes from address into buffer when every byte is readable.
// On false the buffer's contents are unspecified.
bool NTryReadMemory(const void* address, void* buffer, size_t size);

// True when address lies in mapped memory that may be executed: the target of
// a function pointer read from untrusted memory must pass this before a call.
bool NIsExecutableAddress(const void* address);

#if !defined(_WIN32)
namespace nmemprobe_detail {
// The fallback used where the kernel's cross-process read is refused
// (seccomp, old kernels); exposed so that tests can exercise it everywhere.
bool ReadThroughPipe(const void* address, void* buffer, size_t size);
}  // namespace nmemprobe_detail
#endif
