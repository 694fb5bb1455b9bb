// The serial engine against the simulated port: the open sequence step by
// step, data in order, comm events, modem and error changes, a write that
// never completes, and a device that vanishes under the engine.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/win32/SimSerialDriver.h"
#include "transport/win32/NSerialPort.h"

namespace {

std::wstring FailureText(const NSPRxPacket& p)
{
    std::wstring text;
    for (uint32_t i = 0; i + 1 < p.length; i += 2)
        text += static_cast<wchar_t>(p.data[i] | (p.data[i + 1] << 8));
    return text;
}

std::string Narrow(const std::wstring& w)
{
    return std::string(w.begin(), w.end());
}

// Takes packets until done says so or timeoutMs pass; all packets seen so
// far stay in seen.
bool Collect(NSerialPort& port, std::vector<NSPRxPacket>& seen, const std::function<bool()>& done,
             DWORD timeoutMs = 5000)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        while (auto p = port.TakePacket())
            seen.push_back(*p);
        if (done())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::WaitForSingleObject(port.PacketEvent(), 50);
    }
}

const NSPRxPacket* FindKind(const std::vector<NSPRxPacket>& seen, uint16_t kind)
{
    for (const auto& p : seen)
        if (p.kind == kind)
            return &p;
    return nullptr;
}

struct SStep {
    const char* call;
    const wchar_t* step;
};

}  // namespace

TEST(NSerialPort, EachFailingOpenStepQueuesItsNameAndClosesThePort)
{
    const SStep steps[] = {
        {"CreateFileW", L"opening port"},
        {"GetCommProperties", L"open/getting comm properties"},
        {"SetCommState", L"open/setting comm state"},
        {"SetupComm", L"open/setting i/o buffers"},
        {"GetCommTimeouts", L"open/getting timeouts"},
        {"SetCommTimeouts", L"open/setting timeouts"},
        {"ClearCommError", L"open/clearing errors"},
        {"PurgeComm", L"open/purging"},
        {"GetCommModemStatus", L"open/obtaining modem status"},
        {"SetCommMask", L"open/setting event mask"},
        {"EscapeCommFunction", L"open/clearing DTR"},
    };
    for (const SStep& s : steps) {
        SimSerialDriver sim;
        sim.SetCapabilities(PCF_DTRDSR);
        sim.FailCall(s.call, 31);
        NSerialPort port(sim);
        EXPECT_FALSE(port.Open(L"COM3: BAUD=96 DATA=7 PARITY=even DTR=HS")) << s.call;
        EXPECT_EQ(::GetLastError(), 31u);
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(sim.OpenHandles(), 0) << s.call;
        auto p = port.TakePacket();
        ASSERT_NE(p, nullptr) << s.call;
        EXPECT_EQ(p->kind, NSPRxPacket::kFailure);
        EXPECT_EQ(p->value, 31u);
        EXPECT_EQ(Narrow(FailureText(*p)), Narrow(std::wstring(s.step) + L" COM3"));
        EXPECT_EQ(port.TakePacket(), nullptr);
        EXPECT_EQ(::WaitForSingleObject(port.PacketEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    }
}

TEST(NSerialPort, AbsentPortAndBadModes)
{
    SimSerialDriver sim;
    sim.FailCall("CreateFileW", ERROR_FILE_NOT_FOUND);
    NSerialPort port(sim);
    EXPECT_FALSE(port.Open(L"COM3"));
    auto p = port.TakePacket();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->value, 2u);
    EXPECT_EQ(Narrow(FailureText(*p)), "opening port COM3");

    EXPECT_FALSE(port.ApplyPortMode(L"BAUD=0"));
    p = port.TakePacket();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->value, 87u);
    EXPECT_EQ(Narrow(FailureText(*p)), "parsing port/mode");

    EXPECT_FALSE(port.ApplyPortMode(L"COM1000"));
    p = port.TakePacket();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->value, 87u);
    EXPECT_EQ(Narrow(FailureText(*p)), "changing port/number");
    EXPECT_EQ(port.PortName(), L"COM3");
}

TEST(NSerialPort, OpenAppliesTheModeAndReportsTheStartingLineState)
{
    SimSerialDriver sim;
    sim.SetCapabilities(PCF_DTRDSR);
    sim.SetModem(MS_CTS_ON | MS_DSR_ON);
    sim.RaiseErrors(CE_FRAME);
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM7: BAUD=96 DATA=7 PARITY=even DTR=HS"));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.PortName(), L"COM7");
    const DCB dcb = sim.LastDcb();
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_HANDSHAKE));

    // DTR is dropped before and raised after the purge, and the device name
    // is the \\.\ form.
    const auto calls = sim.Calls();
    ptrdiff_t clr = -1, set = -1, purge = -1;
    bool device = false;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i] == "EscapeCommFunction(" + std::to_string(CLRDTR) + ")") clr = static_cast<ptrdiff_t>(i);
        if (calls[i] == "EscapeCommFunction(" + std::to_string(SETDTR) + ")") set = static_cast<ptrdiff_t>(i);
        if (calls[i] == "PurgeComm") purge = static_cast<ptrdiff_t>(i);
        if (calls[i] == "CreateFileW(\\\\.\\COM7)") device = true;
    }
    EXPECT_TRUE(device);
    EXPECT_TRUE(clr >= 0 && clr < purge && purge < set);

    auto first = port.TakePacket();
    auto second = port.TakePacket();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->kind, NSPRxPacket::kCommErrors);
    EXPECT_EQ(first->value, static_cast<uint32_t>(CE_FRAME));
    EXPECT_EQ(second->kind, NSPRxPacket::kModemStatus);
    EXPECT_EQ(second->value, static_cast<uint32_t>(MS_CTS_ON | MS_DSR_ON));
    EXPECT_NE(first->timeStamp, 0u);

    // Another port on an open one is refused and changes nothing.
    EXPECT_FALSE(port.ApplyPortMode(L"COM8: BAUD=115200"));
    auto p = port.TakePacket();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->value, 21u);
    EXPECT_EQ(Narrow(FailureText(*p)), "changing open port/number");
    EXPECT_EQ(port.PortName(), L"COM7");
    EXPECT_EQ(sim.LastDcb().BaudRate, 9600u);

    // A new mode on the open port goes to the driver and receiving goes on.
    ASSERT_TRUE(port.ApplyPortMode(L"BAUD=115200"));
    EXPECT_EQ(sim.LastDcb().BaudRate, 115200u);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(port.IsReceiving());
    sim.Receive("after");
    std::vector<NSPRxPacket> seen;
    ASSERT_TRUE(Collect(port, seen, [&] { return FindKind(seen, NSPRxPacket::kData) != nullptr; }));

    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(port.Stop(5000));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    EXPECT_EQ(port.ReceiveExitCode(), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(sim.OpenHandles(), 0);
}

TEST(NSerialPort, BurstArrivesInOrderWhateverTheReadSizes)
{
    for (DWORD limit : {0u, 100u, 1u}) {
        SimSerialDriver sim;
        sim.LimitReads(limit);
        NSerialPort port(sim);
        ASSERT_TRUE(port.Open(L"COM2"));
        std::string burst;
        for (int i = 0; i < 1000; ++i)
            burst += static_cast<char>('!' + i % 90);
        sim.Receive(burst);
        std::vector<NSPRxPacket> seen;
        std::string got;
        ASSERT_TRUE(Collect(port, seen, [&] {
            got.clear();
            for (const auto& p : seen)
                if (p.kind == NSPRxPacket::kData)
                    got.append(reinterpret_cast<const char*>(p.data), p.length);
            return got.size() >= burst.size();
        })) << limit;
        EXPECT_EQ(got, burst);
        if (limit == 0) {
            std::vector<uint32_t> sizes;
            for (const auto& p : seen)
                if (p.kind == NSPRxPacket::kData)
                    sizes.push_back(p.length);
            EXPECT_EQ(sizes, (std::vector<uint32_t>{512, 488}));
        }
        EXPECT_TRUE(port.Stop(5000));
    }
}

TEST(NSerialPort, CommEventsModemLinesAndErrorStorm)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM2"));
    while (port.TakePacket()) {
    }
    std::vector<NSPRxPacket> seen;

    sim.RaiseEvents(EV_BREAK);
    ASSERT_TRUE(Collect(port, seen, [&] { return FindKind(seen, NSPRxPacket::kCommEvents) != nullptr; }));
    EXPECT_EQ(FindKind(seen, NSPRxPacket::kCommEvents)->value, static_cast<uint32_t>(EV_BREAK));

    seen.clear();
    sim.SetModem(MS_CTS_ON | MS_RLSD_ON);
    ASSERT_TRUE(Collect(port, seen, [&] { return FindKind(seen, NSPRxPacket::kModemStatus) != nullptr; }));
    EXPECT_EQ(FindKind(seen, NSPRxPacket::kModemStatus)->value, static_cast<uint32_t>(MS_CTS_ON | MS_RLSD_ON));
    // The modem events themselves are reported as comm events too.
    const NSPRxPacket* ev = FindKind(seen, NSPRxPacket::kCommEvents);
    ASSERT_NE(ev, nullptr);
    EXPECT_EQ(ev->value, static_cast<uint32_t>(EV_CTS | EV_RLSD));
    EXPECT_EQ(port.ModemStatus(), static_cast<uint32_t>(MS_CTS_ON | MS_RLSD_ON));

    // A storm of alternating overrun and framing errors: every change is
    // reported, nothing is lost or stuck, and data still flows afterwards.
    seen.clear();
    for (int i = 0; i < 300; ++i) {
        sim.RaiseErrors(i % 2 ? CE_FRAME : CE_OVERRUN);
        if (i % 50 == 0)
            ::Sleep(1);
    }
    sim.Receive("still alive");
    std::string got;
    ASSERT_TRUE(Collect(port, seen, [&] {
        got.clear();
        for (const auto& p : seen)
            if (p.kind == NSPRxPacket::kData)
                got.append(reinterpret_cast<const char*>(p.data), p.length);
        return got == "still alive";
    }));
    bool overrun = false, frame = false;
    for (const auto& p : seen) {
        if (p.kind == NSPRxPacket::kCommErrors) {
            overrun |= (p.value & CE_OVERRUN) != 0;
            frame |= (p.value & CE_FRAME) != 0;
        }
        EXPECT_NE(p.kind, NSPRxPacket::kFailure);
    }
    EXPECT_TRUE(overrun);
    EXPECT_TRUE(frame);
    EXPECT_TRUE(port.IsReceiving());
    EXPECT_TRUE(port.Stop(5000));
}

TEST(NSerialPort, WriteThatNeverCompletesTimesOut)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM2"));
    while (port.TakePacket()) {
    }
    uint32_t written = 99;
    ASSERT_TRUE(port.Write("ab", 0, written));
    EXPECT_EQ(written, 0u);

    sim.LimitWrites(3);
    ASSERT_TRUE(port.Write("hello", 5, written));
    EXPECT_EQ(written, 3u);
    ASSERT_TRUE(port.Write("lo", 2, written));
    EXPECT_EQ(sim.Transmitted(), "hello");

    sim.HangWrites(true);
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(port.Write("x", 1, written));
    EXPECT_EQ(::GetLastError(), 1460u);
    const DWORD took = ::GetTickCount() - start;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 3000u);
    EXPECT_EQ(written, 0u);
    auto p = port.TakePacket();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->kind, NSPRxPacket::kFailure);
    EXPECT_EQ(p->value, 1460u);
    EXPECT_EQ(Narrow(FailureText(*p)), "transmit timed out");
    // The engine stays usable.
    sim.HangWrites(false);
    EXPECT_TRUE(port.Write("y", 1, written));
    EXPECT_TRUE(port.Stop(5000));
}

TEST(NSerialPort, VanishingDeviceGivesAFailureAndNothingHangs)
{
    for (DWORD error : {static_cast<DWORD>(ERROR_ACCESS_DENIED), static_cast<DWORD>(ERROR_BAD_COMMAND),
                        static_cast<DWORD>(ERROR_DEVICE_REMOVED), static_cast<DWORD>(ERROR_OPERATION_ABORTED)}) {
        SimSerialDriver sim;
        NSerialPort port(sim);
        ASSERT_TRUE(port.Open(L"COM4"));
        for (int i = 0; i < 100 && !sim.WaitPending(); ++i)
            ::Sleep(10);
        sim.Vanish(error);
        std::vector<NSPRxPacket> seen;
        ASSERT_TRUE(Collect(port, seen, [&] { return FindKind(seen, NSPRxPacket::kFailure) != nullptr; })) << error;
        const NSPRxPacket* f = FindKind(seen, NSPRxPacket::kFailure);
        EXPECT_EQ(f->value, error);
        EXPECT_EQ(Narrow(FailureText(*f)), "getting overlapped comm events");
        for (int i = 0; i < 200 && port.IsReceiving(); ++i)
            ::Sleep(10);
        EXPECT_FALSE(port.IsReceiving());
        EXPECT_FALSE(port.IsOpen());  // the thread closed it
        EXPECT_EQ(sim.OpenHandles(), 0);

        uint32_t written = 0;
        EXPECT_FALSE(port.Write("x", 1, written));
        const DWORD start = ::GetTickCount();
        EXPECT_TRUE(port.Stop(5000));
        EXPECT_LT(::GetTickCount() - start, 1000u);
    }
}

TEST(NSerialPort, VanishingDuringWriteIsReported)
{
    SimSerialDriver sim;
    NSerialPort port(sim);
    ASSERT_TRUE(port.Open(L"COM4"));
    sim.HangWrites(true);
    uint32_t written = 0;
    bool ok = true;
    std::thread vanisher([&sim] {
        ::Sleep(200);
        sim.Vanish(ERROR_DEVICE_REMOVED);
    });
    ok = port.Write("abc", 3, written);
    vanisher.join();
    EXPECT_FALSE(ok);
    std::vector<NSPRxPacket> seen;
    Collect(port, seen, [&] { return !port.IsReceiving(); });
    bool reported = false;
    for (const auto& p : seen)
        if (p.kind == NSPRxPacket::kFailure && p.value == ERROR_DEVICE_REMOVED &&
            FailureText(p) == L"tx/getting overlapped result")
            reported = true;
    EXPECT_TRUE(reported);
    EXPECT_TRUE(port.Stop(5000));
}

TEST(NSerialPort, NotifiesTheWindowOnceUntilTheListIsDrained)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT message = ::RegisterWindowMessageW(L"NSerialPortTest::ms_cnMsgIDPacket");
    SimSerialDriver sim;
    NSerialPort port(sim);
    port.SetNotification(window, message, 77);
    ASSERT_TRUE(port.Open(L"COM5"));  // queues the error and modem packets
    sim.Receive("abc");
    ::Sleep(200);
    auto count = [&] {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, window, message, message, PM_REMOVE)) {
            EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(&port));
            EXPECT_EQ(msg.lParam, 77);
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count(), 1);
    while (port.TakePacket()) {
    }
    sim.Receive("def");
    for (int i = 0; i < 100 && ::WaitForSingleObject(port.PacketEvent(), 0) != WAIT_OBJECT_0; ++i)
        ::Sleep(10);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(port.Stop(5000));
    ::DestroyWindow(window);
}
