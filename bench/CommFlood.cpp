// Floods a communication worker with 80-character lines over loopback TCP and
// drains its log as the console view does; prints sustained MB/s, lines/s
// and the peak memory of the process.
//
//   bench_comm_flood [megabytes=1024] [view pause ms=0]
//
// With a view pause the consumer sleeps that long after every drain, like a
// view busy painting: the worker's back-pressure then holds the queue near
// the log's high-water mark, and the figures show how often it stopped.
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "comm/ILMCommConfig.h"
#include "comm/win32/LMCommThread.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"

namespace {

struct BenchConfig : ILMCommConfig {
    std::wstring hostPort;
    LMShades shades;
    uint32_t ConMode() const override { return 0; }
    std::wstring HostPort() const override { return hostPort; }
    std::wstring DevAddr() const override { return {}; }
    std::wstring ComPort() const override { return {}; }
    std::wstring SerMode() const override { return {}; }
    std::wstring AltMode() const override { return {}; }
    uint32_t RxTerm() const override { return 4; }
    uint32_t RxWrap() const override { return 80; }
    uint32_t RxTimeoutMs() const override { return 0; }
    uint32_t TxTerm() const override { return 0; }
    bool IgnoreNDE() const override { return false; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view) const override { return {}; }
    std::wstring ComPortOfDevAddr(std::wstring_view) const override { return {}; }
};

size_t PeakMemory()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

size_t CurrentMemory()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.WorkingSetSize;
}

}  // namespace

int main(int argc, char** argv)
{
    const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const DWORD viewPauseMs = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 0;
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);

    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener, 1);
    int len = sizeof a;
    getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);

    BenchConfig config;
    config.hostPort = L"127.0.0.1:" + std::to_wstring(ntohs(a.sin_port));
    LMLog log;
    LMCommThread worker(&config, &log);
    worker.Connect(false);
    SOCKET peer = accept(listener, nullptr, nullptr);

    // 80 characters and CR LF; the block holds whole lines.
    std::string line(80, 'x');
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<char>('0' + i % 64);
    line += "\r\n";
    std::string block;
    while (block.size() + line.size() <= 65536)
        block += line;
    const uint64_t linesPerBlock = block.size() / line.size();
    const uint64_t blocks = megabytes * 1048576 / block.size();
    const uint64_t totalLines = blocks * linesPerBlock;

    std::atomic<uint64_t> received{0};
    std::atomic<bool> stop{false};
    std::atomic<size_t> maxQueued{0};
    size_t memoryAtStart = 0, memoryMax = 0;
    std::thread consumer([&] {
        while (!stop.load()) {
            const size_t queued = log.QueuedCount();
            if (queued > maxQueued.load())
                maxQueued = queued;
            LMLogEntry* chain = log.PopAll();
            if (chain == nullptr) {
                Sleep(1);
                continue;
            }
            uint64_t n = 0;
            for (LMLogEntry* e = chain; e != nullptr; e = e->Next())
                n += e->Kind() == LMShades::kReceived;
            LMLogEntry::ReleaseChain(chain);
            received += n;
            if (viewPauseMs != 0)
                Sleep(viewPauseMs);
        }
    });

    // Wait for "Connected to" to be drained, then measure.
    while (worker.m_state.load() != LMCommThread::kConnected)
        Sleep(1);
    memoryAtStart = CurrentMemory();
    const auto t0 = std::chrono::steady_clock::now();
    std::thread flooder([&] {
        for (uint64_t b = 0; b < blocks; ++b) {
            const char* p = block.data();
            int left = static_cast<int>(block.size());
            while (left > 0) {
                const int n = send(peer, p, left, 0);
                if (n <= 0)
                    return;
                p += n;
                left -= n;
            }
        }
    });
    uint64_t lastPrint = 0;
    while (received.load() < totalLines) {
        Sleep(50);
        const size_t now = CurrentMemory();
        if (now > memoryMax)
            memoryMax = now;
        const uint64_t r = received.load();
        if (r - lastPrint > totalLines / 8) {
            lastPrint = r;
            std::printf("  %5.1f%%  working set %.1f MB\n", 100.0 * r / totalLines, now / 1048576.0);
            std::fflush(stdout);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    flooder.join();
    const double mb = static_cast<double>(blocks * block.size()) / 1048576.0;
    std::printf("bytes %.0f MB in %.2f s: %.1f MB/s, %.0f lines/s\n", mb, seconds, mb / seconds,
                totalLines / seconds);
    std::printf("working set: at start %.1f MB, largest while flooding %.1f MB, peak %.1f MB\n",
                memoryAtStart / 1048576.0, memoryMax / 1048576.0, PeakMemory() / 1048576.0);
    std::printf("log queue: largest %zu entries (high-water mark %zu); reading paused %u times\n", maxQueued.load(),
                LMLog::kHighWaterEntries, worker.ThrottleCount());
    closesocket(peer);
    worker.Disconnect();
    stop = true;
    consumer.join();
    closesocket(listener);
    WSACleanup();
    return 0;
}
