// The real platform under Wine (or Windows): the code page the tool is made for, the edit
// control's line messages, and the window operations against real windows.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/code_page.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_window_ops.h"
#include "support/clipboard_content.h"

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


// The real clipboard, as the user's programs and the target's program use it around the
// tool's offer, through windows of this test's thread.
class RealClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    user_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(user_, nullptr);
  }
  void TearDown() override { DestroyWindow(user_); }
  // A copy in the user's program: text and a private format.
  void Copy(std::u16string_view text, const std::string& private_bytes) {
    ASSERT_TRUE(testing::CopyToClipboard(user_, {{CF_UNICODETEXT, testing::TextBytes(text)}, {private_, private_bytes}}));
  }

  HWND user_ = nullptr;
  const UINT private_ = RegisterClipboardFormatW(L"KakehashiTestPrivate");
  Win32WindowOps ops_;
};

using testing::BeginsWith;
using testing::ClipboardBytes;
using testing::TextBytes;

TEST_F(RealClipboard, AnOfferIsMarkedAndTheUsersContentComesBackByteForByte) {
  const std::u16string text = u"ユーザーの文\U0001F600";
  const std::string private_bytes("\0\x01\xFF" "abc\0", 7);
  Copy(text, private_bytes);
  const auto saved = ops_.SaveClipboard();
  ASSERT_TRUE(saved);
  for (const ClipboardFormat& f : *saved) EXPECT_TRUE(Win32Clipboard::Saves(f.format)) << f.format;
  ASSERT_TRUE(ops_.OfferClipboardText(u"送る行"));
  EXPECT_FALSE(ClipboardBytes(private_)) << "the offer replaced the user's content";
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(ClipboardBytes(CF_UNICODETEXT)) << "rendered only while the tool waits for its reader";
  EXPECT_TRUE(IsClipboardFormatAvailable(Win32Clipboard::ExcludeFromMonitorsFormat()));
  const std::string zero(4, '\0');
  EXPECT_TRUE(BeginsWith(ClipboardBytes(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")), zero));
  EXPECT_TRUE(BeginsWith(ClipboardBytes(RegisterClipboardFormatW(L"CanUploadToCloudClipboard")), zero));
  ASSERT_TRUE(ops_.RestoreClipboard(*saved));
  EXPECT_TRUE(BeginsWith(ClipboardBytes(CF_UNICODETEXT), TextBytes(text)));
  EXPECT_TRUE(BeginsWith(ClipboardBytes(private_), private_bytes));
  EXPECT_TRUE(IsClipboardFormatAvailable(Win32Clipboard::ExcludeFromMonitorsFormat())) << "marked as the offer";
  EXPECT_EQ(GetClipboardOwner(), nullptr) << "the tool's owner window is gone";
}

// Two readers in programs of their own: one without a window (process 0), refused, and
// then one with a window, accepted by its process id.
TEST_F(RealClipboard, ARefusedReaderGetsNothingAndALaterAcceptedOneGetsTheLine) {
  const std::string path = CLIPBOARD_READER_EXE_PATH;
  std::wstring exe(path.begin(), path.end());  // the build tree's path is ASCII
  for (wchar_t& c : exe) c = c == L'/' ? L'\\' : c;
  if (exe.front() == L'\\') exe.insert(0, L"Z:");  // Wine: the Unix root
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out[2] = {std::wstring(temp) + L"kakehashi_reader0.txt", std::wstring(temp) + L"kakehashi_reader1.txt"};
  const std::u16string line = u"行\U0001F600x";
  ASSERT_TRUE(ops_.OfferClipboardText(line));
  std::atomic<DWORD> accepted_process{0};
  DWORD exit_codes[2] = {99, 99};
  std::thread readers([&] {
    for (int i = 0; i < 2; ++i) {
      std::wstring command = L"\"" + exe + L"\" " + (i == 0 ? L"none" : L"window") + L" \"" + out[i] + L"\"";
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION info{};
      if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &info)) {
        return;
      }
      if (i == 1) accepted_process = info.dwProcessId;
      ResumeThread(info.hThread);
      WaitForSingleObject(info.hProcess, 30000);
      GetExitCodeProcess(info.hProcess, &exit_codes[i]);
      CloseHandle(info.hThread);
      CloseHandle(info.hProcess);
    }
  });
  std::vector<std::uint32_t> asked;
  const auto reader = ops_.AwaitClipboardRender(30000, [&](std::uint32_t process) {
    asked.push_back(process);
    return process != 0 && process == accepted_process;
  });
  readers.join();
  EXPECT_EQ(asked, (std::vector<std::uint32_t>{0, accepted_process}));
  EXPECT_EQ(reader, std::optional<std::uint32_t>(accepted_process));
  EXPECT_EQ(exit_codes[0], 1u) << "the refused reader got no text";
  EXPECT_EQ(exit_codes[1], 0u);
  std::u16string got(64, u'\0');
  const HANDLE file = CreateFileW(out[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  ReadFile(file, got.data(), static_cast<DWORD>(got.size() * 2), &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(got.substr(0, read / 2), line);
  for (const std::wstring& file_path : out) DeleteFileW(file_path.c_str());
  EXPECT_TRUE(ops_.RestoreClipboard({}));
}

TEST_F(RealClipboard, AUsersCopyAfterTheOfferIsNotOverwritten) {
  Copy(u"before", "p");
  const auto saved = ops_.SaveClipboard();
  ASSERT_TRUE(saved);
  ASSERT_TRUE(ops_.OfferClipboardText(u"行"));
  Copy(u"copied meanwhile", "x");
  EXPECT_FALSE(ops_.RestoreClipboard(*saved));
  EXPECT_TRUE(BeginsWith(ClipboardBytes(CF_UNICODETEXT), TextBytes(u"copied meanwhile")));
  EXPECT_TRUE(BeginsWith(ClipboardBytes(private_), "x"));
}

TEST_F(RealClipboard, AClipboardHeldOpenByAnotherThreadCanBeNeitherSavedNorOffered) {
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // Wine: OpenClipboard compares windows, not threads: opened without a window here, it
  // would open without one elsewhere too.
  std::thread holder([&] {
    const BOOL open = OpenClipboard(nullptr);
    SetEvent(opened);
    WaitForSingleObject(done, 30000);
    if (open) CloseClipboard();
  });
  WaitForSingleObject(opened, 30000);
  EXPECT_FALSE(ops_.SaveClipboard());
  EXPECT_FALSE(ops_.OfferClipboardText(u"行"));
  SetEvent(done);
  holder.join();
  CloseHandle(opened);
  CloseHandle(done);
  EXPECT_TRUE(ops_.SaveClipboard()) << "once it is closed";
}

}  // namespace
}  // namespace kakehashi
