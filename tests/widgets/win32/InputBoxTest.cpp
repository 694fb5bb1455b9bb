#include "widgets/win32/InputBox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {
// Counts the change notices the box posts to itself and hands its window to
// the driving thread once it is up.
class ProbeBox : public InputBox {
public:
    using InputBox::InputBox;
    std::atomic<HWND> window{nullptr};
    std::atomic<int> changeNotices{0};

protected:
    bool OnInitDialog() override
    {
        const bool result = InputBox::OnInitDialog();
        window.store(Handle());
        return result;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        const bool handled = InputBox::OnMessage(message, wParam, lParam, result);
        if (message == ms_cnMsgIDInputChanged)
            ++changeNotices;
        return handled;
    }
};

std::wstring TextOf(HWND window)
{
    wchar_t buffer[256] = {};
    ::GetWindowTextW(window, buffer, 256);
    return buffer;
}

bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 500; ++i) {
        if (condition())
            return true;
        ::Sleep(10);
    }
    return false;
}

// Runs the modal box on this thread while drive() works it from another.
INT_PTR RunDriven(ProbeBox& box, const std::function<void(HWND)>& drive)
{
    std::thread driver([&] {
        if (!WaitFor([&] { return box.window.load() != nullptr; }))
            return;
        const HWND dlg = box.window.load();
        drive(dlg);
        // Whatever the checks did, make sure the modal loop ends.
        if (::IsWindow(dlg))
            ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    const INT_PTR result = box.DoModal();
    driver.join();
    return result;
}

// Replaces the edit's text and waits until the box has checked it.
void Type(ProbeBox& box, HWND dlg, const wchar_t* text, bool replaceSelection = false)
{
    const int before = box.changeNotices.load();
    const HWND edit = ::GetDlgItem(dlg, InputBox::kIdEdit);
    if (replaceSelection) {
        ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    } else {
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    EXPECT_TRUE(WaitFor([&] { return box.changeNotices.load() > before; }));
    // A notice queued behind it may still be on its way: let it settle.
    ::SendMessageW(dlg, WM_NULL, 0, 0);
}

struct SState {
    bool okEnabled;
    bool messageVisible;
    std::wstring message;
};

SState StateOf(HWND dlg)
{
    const HWND line = ::GetDlgItem(dlg, InputBox::kIdMessage);
    return {::IsWindowEnabled(::GetDlgItem(dlg, IDOK)) != FALSE, ::IsWindowVisible(line) != FALSE, TextOf(line)};
}

void ExpectState(HWND dlg, bool okEnabled, const std::wstring& message)
{
    const SState s = StateOf(dlg);
    EXPECT_EQ(s.okEnabled, okEnabled);
    EXPECT_EQ(s.message, message);
    EXPECT_EQ(s.messageVisible, !message.empty());
}
}  // namespace

TEST(InputBox, TheChangeNoticeIsTheRegisteredMessage)
{
    EXPECT_GE(InputBox::ms_cnMsgIDInputChanged, 0xC000u);
    EXPECT_EQ(InputBox::ms_cnMsgIDInputChanged, ::RegisterWindowMessageW(L"InputBox::ms_cnMsgIDInputChanged"));
}

TEST(InputBox, IntegerRangeEnablesOkOnlyForValuesInRange)
{
    ProbeBox box(nullptr, L"Custom Baud Rate", L"Enter the baud rate:", L"9600",
                 InputBoxValidation::IntegerRange(50, 3000000));
    std::wstring title, prompt, initial;
    const INT_PTR result = RunDriven(box, [&](HWND dlg) {
        title = TextOf(dlg);
        prompt = TextOf(::GetDlgItem(dlg, InputBox::kIdPrompt));
        initial = TextOf(::GetDlgItem(dlg, InputBox::kIdEdit));
        const LRESULT sel = ::SendMessageW(::GetDlgItem(dlg, InputBox::kIdEdit), EM_GETSEL, 0, 0);
        EXPECT_EQ(LOWORD(sel), 0);
        EXPECT_EQ(HIWORD(sel), 4);  // prefilled text selected
        ExpectState(dlg, true, L"");

        Type(box, dlg, L"49");
        ExpectState(dlg, false, L"Value too small");
        Type(box, dlg, L"a", true);
        ExpectState(dlg, false, L"Not an integer");
        Type(box, dlg, L"3000001");
        ExpectState(dlg, false, L"Value too large");
        // OK while the text is bad keeps the box open.
        ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(::IsWindow(dlg));
        Type(box, dlg, L"3000000");
        ExpectState(dlg, true, L"");
        Type(box, dlg, L"50");
        ExpectState(dlg, true, L"");
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(title, L"Custom Baud Rate");
    EXPECT_EQ(prompt, L"Enter the baud rate:");
    EXPECT_EQ(initial, L"9600");
    EXPECT_EQ(box.Text(), L"50");
    EXPECT_GE(box.changeNotices.load(), 5);
}

TEST(InputBox, InvalidStartTextDisablesOkAtOnceAndCancelKeepsTheText)
{
    ProbeBox box(nullptr, L"Shade Name", L"Name:", L"A",
                 InputBoxValidation::Unique({L"A", L"B"}, true, false, false));
    const INT_PTR result = RunDriven(box, [&](HWND dlg) {
        EXPECT_TRUE(WaitFor([&] { return StateOf(dlg).message == L"Entry already used"; }));
        ExpectState(dlg, false, L"Entry already used");
        Type(box, dlg, L" b ");
        ExpectState(dlg, false, L"Entry already used");
        Type(box, dlg, L"   ");
        ExpectState(dlg, false, L"Entry is empty");
        Type(box, dlg, L" New ");
        ExpectState(dlg, true, L"");
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(box.Text(), L"A");
}

TEST(InputBox, TrimmedUniqueTextIsHandedBackTrimmed)
{
    ProbeBox box(nullptr, L"Log Mark", L"Mark:", L"", InputBoxValidation::Unique({L"Ack"}, true, true, false));
    const INT_PTR result = RunDriven(box, [&](HWND dlg) {
        EXPECT_TRUE(WaitFor([&] { return StateOf(dlg).message == L"Entry is empty"; }));
        Type(box, dlg, L"  ack ");
        ExpectState(dlg, true, L"");
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(box.Text(), L"ack");
}

TEST(InputBox, HintIsShownButNeverDisablesOk)
{
    ProbeBox box(nullptr, L"Hint", L"Text:", L"x",
                 InputBoxValidation::Hint([](const std::wstring& t) { return std::to_wstring(t.size()) + L" chars"; }));
    const INT_PTR result = RunDriven(box, [&](HWND dlg) {
        EXPECT_TRUE(WaitFor([&] { return StateOf(dlg).message == L"1 chars"; }));
        ExpectState(dlg, true, L"1 chars");
        Type(box, dlg, L"");
        ExpectState(dlg, true, L"0 chars");
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(box.Text(), L"");
}

TEST(InputBox, MessageLineIsPaintedInTheMessageColours)
{
    const COLORREF back = RGB(10, 200, 30);
    ProbeBox box(nullptr, L"Colours", L"Value:", L"12a", InputBoxValidation::IntegerRange(0, 10));
    box.SetMessageColours(RGB(255, 255, 255), back);
    COLORREF seen = CLR_INVALID;
    RunDriven(box, [&](HWND dlg) {
        const HWND line = ::GetDlgItem(dlg, InputBox::kIdMessage);
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(line) != FALSE; }));
        // Repaint and read back a pixel right of the text, where only the
        // background brush from WM_CTLCOLORSTATIC can have painted.
        RECT rc{};
        ::GetClientRect(line, &rc);
        WaitFor([&] {
            ::RedrawWindow(line, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            HDC screen = ::GetDC(line);
            seen = ::GetPixel(screen, rc.right - 2, rc.bottom / 2);
            ::ReleaseDC(line, screen);
            return seen == back;
        });
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        WaitFor([&] { return !::IsWindow(dlg); });
    });
    EXPECT_EQ(seen, back);
}
