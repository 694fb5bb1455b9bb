// The serial engine with an owner that does not take its packets: the
// receive thread must stop reading at the data-packet cap (leaving the bytes
// in the driver) instead of queueing without bound, resume as soon as the
// owner takes packets, lose nothing, and still stop promptly.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/win32/SimSerialDriver.h"
#include "transport/win32/NSerialPort.h"

namespace {

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('0' + (i * 7 + i / 512) % 75);
    return bytes;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(NSerialPortBackPressure, ReadingStopsAtTheCapAndResumesWithoutLoss)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM4 BAUD=115200"));
    const std::string burst = Pattern((NSerialPort::kMaxQueuedData + 100) * NSPRxPacket::kDataSize + 77);
    sim.Receive(burst);
    ASSERT_TRUE(WaitUntil([&] { return port.QueuedDataPackets() == NSerialPort::kMaxQueuedData; }))
        << port.QueuedDataPackets();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(port.QueuedDataPackets(), NSerialPort::kMaxQueuedData);  // not one more
    EXPECT_TRUE(port.IsReceiving());

    std::string got;
    ASSERT_TRUE(WaitUntil([&] {
        while (auto p = port.TakePacket())
            if (p->kind == NSPRxPacket::kData)
                got.append(reinterpret_cast<const char*>(p->data), p->length);
        return got.size() >= burst.size();
    }));
    EXPECT_EQ(got.size(), burst.size());
    EXPECT_TRUE(got == burst) << "bytes lost or out of order";
    EXPECT_EQ(port.QueuedDataPackets(), 0u);

    // Still receiving normally afterwards.
    sim.Receive("tail");
    std::string tail;
    ASSERT_TRUE(WaitUntil([&] {
        while (auto p = port.TakePacket())
            if (p->kind == NSPRxPacket::kData)
                tail.append(reinterpret_cast<const char*>(p->data), p->length);
        return tail == "tail";
    }));
    EXPECT_TRUE(port.Stop(5000));
}

TEST(NSerialPortBackPressure, StopWhileWaitingForTheOwnerIsPromptAndClosesThePort)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM4"));
    sim.Receive(Pattern((NSerialPort::kMaxQueuedData + 10) * NSPRxPacket::kDataSize));
    ASSERT_TRUE(WaitUntil([&] { return port.QueuedDataPackets() == NSerialPort::kMaxQueuedData; }));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(port.Stop(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(sim.OpenHandles(), 0);
    EXPECT_EQ(port.ReceiveExitCode(), static_cast<DWORD>(ERROR_CANCELLED));
}

TEST(NSerialPortBackPressure, ModeChangeWhileWaitingKeepsThePortAndTheData)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM4 BAUD=115200"));
    const std::string burst = Pattern((NSerialPort::kMaxQueuedData + 20) * NSPRxPacket::kDataSize);
    sim.Receive(burst);
    ASSERT_TRUE(WaitUntil([&] { return port.QueuedDataPackets() == NSerialPort::kMaxQueuedData; }));
    ASSERT_TRUE(port.ApplyPortMode(L"BAUD=9600"));
    EXPECT_EQ(sim.LastDcb().BaudRate, 9600u);
    EXPECT_TRUE(port.IsOpen());
    std::string got;
    ASSERT_TRUE(WaitUntil([&] {
        while (auto p = port.TakePacket())
            if (p->kind == NSPRxPacket::kData)
                got.append(reinterpret_cast<const char*>(p->data), p->length);
        return got.size() >= burst.size();
    }));
    EXPECT_TRUE(got == burst);
    EXPECT_TRUE(port.Stop(5000));
}

}  // namespace
