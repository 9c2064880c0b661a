// A short demonstration of the whole road, for machines without a display (scripts/run.sh
// runs it on Xvfb): starts the practice chat and the tool, sends a small picture drawn with
// characters in mode 1 and one reversed line in mode 3 through the real windows, and prints
// the practice chat's transcript. With --hold DIR it writes DIR/ready once the transcript is
// printed and keeps both programs open until DIR/done exists (bounded), for a screenshot.
// With --front it only waits for the tool and the practice chat that scripts/run.sh started,
// and then brings the tool to the front with the focus in its message box.
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/control_ids.h"
#include "ui_driver/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;


constexpr wchar_t kPicture[] =
    L"　 ＿＿＿\r\n"
    L"　／　　　＼　　かけはし\r\n"
    L"｜ ●　● ｜　　　へようこそ\r\n"
    L"　＼＿▽＿／";
constexpr wchar_t kReversedLine[] = L"！すまり送を字文さ逆";

void Print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

bool Fail(const char* what) {
  std::fprintf(stderr, "demo: %s\n", what);
  return false;
}

// The practice chat's transcript: the read-only multi-line edit of its browser window.
HWND Transcript(HWND frame) {
  for (HWND h : ui::Descendants(frame)) {
    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if (ui::ClassName(h) == L"Edit" && (style & ES_MULTILINE) && (style & ES_READONLY)) return h;
  }
  return nullptr;
}

bool Run(const std::wstring& hold_dir) {
  ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--chat");
  ui::Process tool(ui::KakehashiExePath());
  if (!chat.started() || !tool.started()) return Fail("could not start the programs");
  HWND main = tool.WaitForWindow(kakehashi::kForm1Caption);
  HWND frame = nullptr;
  ui::WaitUntil([&] { return (frame = FindWindowW(L"IEFrame", nullptr)) != nullptr && IsWindowVisible(frame); });
  if (!main || !frame) return Fail("the windows did not appear");

  // Put the two windows side by side.
  SetWindowPos(main, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(main, &r);
  SetWindowPos(frame, nullptr, r.right + 16, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  auto control = [&](kakehashi::ControlId id) { return ui::FindControl(main, kakehashi::IdNumber(id)); };
  HWND status = control(kakehashi::ControlId::Status);
  Print(L"1. チャットを最前面に表示します\n");
  ui::BringToFront(frame);
  if (!ui::WaitUntil([&] { return ui::Text(status).rfind(L"MSN", 0) == 0; })) return Fail("the tool did not find the chat");
  Print(L"   ステータス欄: " + ui::Text(status) + L"\n");
  ui::BringToFront(main);

  HWND message = control(kakehashi::ControlId::Message);
  HWND send = control(kakehashi::ControlId::Send);
  HWND transcript = Transcript(frame);
  if (!message || !send || !transcript) return Fail("controls not found");

  Print(L"2. 複数行を1行ずつ送信 (アスキーアート)\n");
  ui::Click(control(kakehashi::ControlId::AAOpt));
  ui::SetText(message, kPicture);
  ui::Click(send);
  if (!ui::WaitUntil([&] { return ui::Text(transcript).find(L"＼＿▽＿／") != std::wstring::npos; })) {
    return Fail("the picture did not arrive");
  }

  Print(L"3. 単一行逆さ文字 (送信と同時に発言)\n");
  ui::Click(control(kakehashi::ControlId::DEFAULTOpt));
  ui::Click(control(kakehashi::ControlId::SendNow));
  ui::SetText(message, kReversedLine);
  ui::Click(send);
  if (!ui::WaitUntil([&] { return ui::Text(transcript).find(L"逆さ文字を送ります！") != std::wstring::npos; })) {
    return Fail("the reversed line did not arrive");
  }

  Print(L"\n--- 練習用チャットの発言ログ ---\n" + ui::Text(transcript) + L"\n--------------------------------\n");

  if (!hold_dir.empty()) {
    CloseHandle(CreateFileW((hold_dir + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ui::WaitUntil([&] { return GetFileAttributesW((hold_dir + L"\\done").c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000);
  }
  return true;
}

// The practice chat's windows show as they are made, each taking the front: once all three
// are there, the tool comes to the front, ready for the user's text.
bool Front() {
  HWND main = nullptr;
  const bool up = ui::WaitUntil([&] {
    main = ui::FindTopWindow(kakehashi::kForm1Caption);
    return main && FindWindowW(L"IEFrame", nullptr) && FindWindowW(L"IMWindowClass", nullptr) &&
           FindWindowW(L"PracticeTodayChat", nullptr);
  }, 30000);
  if (!up) return Fail("the windows did not appear");
  ::Sleep(300);  // the last one's activation settles
  return ui::BringToFront(main) && ui::Focus(ui::FindControl(main, kakehashi::IdNumber(kakehashi::ControlId::Message)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--front") return Front() ? 0 : 1;
  std::wstring hold_dir;
  if (argc == 3 && std::wstring(argv[1]) == L"--hold") hold_dir = ui::WindowsPath(std::string(argv[2], argv[2] + wcslen(argv[2])));
  return Run(hold_dir) ? 0 : 1;
}
