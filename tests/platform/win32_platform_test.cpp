// The real platform under Wine (or Windows): the code page the tool is made for, the edit
// control's line messages, and the window operations against real windows.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/code_page.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_window_ops.h"

namespace kakehashi {
namespace {

TEST(Win32Platform, AnsiCodePageIsShiftJis) {
  // Guards the test setup: Wine falls back to 1252 when the ja_JP.UTF-8 locale is missing.
  EXPECT_EQ(GetACP(), 932u);
}

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
  }
  HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | style, 0, 0, 50, 50, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  HWND parent_ = nullptr;
  Win32WindowOps ops_;
};

TEST_F(Win32Windows, EditLineMessagesGiveCountAndBytes) {
  HWND edit = Child(L"EDIT", L"あいう\r\nab\r\n", ES_MULTILINE | WS_HSCROLL, 3);
  const Handle h = FromHwnd(edit);
  EXPECT_EQ(ops_.SendMessageA(h, kEmGetLineCount, 0, 0), 3);
  std::string buffer(1000, ' ');
  const std::uint16_t capacity = 1000;
  std::memcpy(buffer.data(), &capacity, sizeof capacity);
  const auto n = ops_.SendMessageA(h, kEmGetLine, 0, reinterpret_cast<std::intptr_t>(buffer.data()));
  ASSERT_EQ(n, 6);
  EXPECT_EQ(buffer.substr(0, 6), ToAnsi(u"あいう"));
}

TEST_F(Win32Windows, ChildSearchClassNamesAndControlIds) {
  HWND button = Child(L"BUTTON", L"ok", 0, 42);
  const Handle p = FromHwnd(parent_);
  EXPECT_EQ(ops_.FindWindowExA(p, kNoWindow, "button"), FromHwnd(button));
  EXPECT_EQ(ops_.FindWindowExA(p, kNoWindow, "Edit"), kNoWindow);
  EXPECT_EQ(ops_.GetDlgCtrlID(FromHwnd(button)), 42);
  EXPECT_EQ(ops_.GetClassNameA(p, 200), "Static");
  EXPECT_EQ(ops_.GetClassNameA(p, 4), "Sta");
  SetWindowTextW(parent_, L"あいうえお");
  EXPECT_EQ(ops_.GetWindowTextA(p, 200), ToAnsi(u"あいうえお"));
}

TEST_F(Win32Windows, PostsToGoneWindowsAndToNoWindowFail) {
  const Handle p = FromHwnd(parent_);
  EXPECT_TRUE(ops_.PostMessageA(p, WM_NULL, 0, 0).ok());
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_EQ(ops_.PostMessageA(p, WM_NULL, 0, 0).error, kErrorInvalidWindowHandle);
  EXPECT_EQ(ops_.PostMessageA(kNoWindow, WM_NULL, 0, 0).error, kErrorInvalidWindowHandle);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing reached this thread's queue";
}

// The paint that RequestPaint asks for comes after every message posted before it: what
// the picked-window target waits for. A window that cannot be painted says so.
TEST_F(Win32Windows, APaintComesOnlyOnceThePostedQueueIsEmpty) {
  HWND top = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  const Handle h = FromHwnd(top);
  MSG msg;
  UpdateWindow(top);
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  for (WPARAM i = 0; i < 3; ++i) PostMessageW(top, WM_NULL, i, 0);
  ASSERT_TRUE(ops_.RequestPaint(h));
  std::vector<UINT> taken;
  while (ops_.PaintPending(h) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // The pointer may pass over the window while other tests run.
    if (msg.message == WM_NULL || msg.message == WM_PAINT) taken.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(taken, (std::vector<UINT>{WM_NULL, WM_NULL, WM_NULL, WM_PAINT}));
  EXPECT_FALSE(ops_.PaintPending(h));
  ShowWindow(top, SW_MINIMIZE);
  EXPECT_FALSE(ops_.RequestPaint(h)) << "minimized";
  ShowWindow(top, SW_HIDE);
  EXPECT_FALSE(ops_.RequestPaint(h)) << "hidden";
  DestroyWindow(top);
  EXPECT_FALSE(ops_.RequestPaint(h));
  EXPECT_FALSE(ops_.PaintPending(h));
}

TEST(Win32Wait, EndsWhenAnotherThreadRequestsTheStop) {
  Win32WindowOps ops;
  StopRequest idle;
  EXPECT_TRUE(ops.Sleep(20, idle)) << "the whole time passes without a stop";

  StopRequest stop;
  std::thread stopper([&stop] {
    ::Sleep(50);
    stop.Request();
  });
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(ops.Sleep(60000, stop));
  EXPECT_LT(GetTickCount64() - start, 30000u);
  stopper.join();
  EXPECT_FALSE(ops.Sleep(60000, stop)) << "a request made before the wait ends it at once";
}

TEST_F(Win32Windows, NoWindowOfThisProgramRunsAboveIt) {
  // Wine has no integrity levels; this checks that the comparison reads our own token and
  // answers no for windows of this process and for windows that do not exist.
  EXPECT_FALSE(ops_.RunsAboveUs(FromHwnd(parent_)));
  EXPECT_FALSE(ops_.RunsAboveUs(FromHwnd(GetDesktopWindow())));
  EXPECT_FALSE(ops_.RunsAboveUs(kNoWindow));
  EXPECT_EQ(ops_.AnsiCodePage(), kShiftJisCodePage);
}

TEST_F(Win32Windows, DpiFallbackOfOlderSystemsAgreesAtTheSystemDpi) {
  const DpiFunctions here = DpiFunctions::Lookup();
  const DpiFunctions none;  // Windows 7 to 8.1: neither per-monitor function
  const UINT dpi = here.WindowDpi(parent_);
  EXPECT_EQ(none.WindowDpi(parent_), dpi);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT with{0, 0, 332, 316};
  RECT without = with;
  here.AdjustWindowRect(with, style, true, WS_EX_CONTROLPARENT, dpi);
  none.AdjustWindowRect(without, style, true, WS_EX_CONTROLPARENT, dpi);
  EXPECT_TRUE(EqualRect(&with, &without));
  EXPECT_GT(without.bottom - without.top, 316) << "caption and menu bar added";
  EXPECT_LT(without.left, 0);
}

TEST(Win32Shell, ShellCallRunsWithComAndKeepsShell32Loaded) {
  Win32WindowOps ops;
  // A file that does not exist: the call fails without starting anything.
  const char* const missing = "Z:\\kakehashi-no-such-folder\\no-such-file.txt";
  ops.ShellExecuteA(kNoWindow, "open", missing, "", "", SW_SHOW);
  EXPECT_NE(GetModuleHandleW(L"shell32.dll"), nullptr) << "shell32 stays loaded after the call";
  // COM is on, apartment-threaded: the other model is refused on this thread.
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  ops.ShellExecuteA(kNoWindow, "open", missing, "", "", SW_SHOW);
  EndComForShell();
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(hr, S_OK) << "one CoUninitialize for the one initialisation, however many calls";
  if (SUCCEEDED(hr)) CoUninitialize();
}

}  // namespace
}  // namespace kakehashi
