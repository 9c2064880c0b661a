// Start-up baseline for the benchmarks: a plain Win32 program that shows a window like the
// tool's main window (the same manifest, menu, fonts and controls, by the same classes and
// styles and in the same places) and does nothing else. The tool's start-up against it is
// the tool's own cost; against the bare window it is also the cost of its user interface.
// Mirrors the main window's control table: change the two together.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

int Px(int twips) { return MulDiv(twips, static_cast<int>(GetDpiForSystem()), 1440); }

HFONT Font(int hundredths_of_point, const wchar_t* face) {
  return CreateFontW(-MulDiv(hundredths_of_point, static_cast<int>(GetDpiForSystem()), 7200), 0, 0, 0, FW_NORMAL,
                     FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

struct Control {
  const wchar_t* class_name;
  const wchar_t* text;
  DWORD style, ex_style;
  int left, top, width, height;  // twips
  bool in_frame;
  int font;  // 0: MS UI Gothic 9, 1: MS UI Gothic 8.25, 2: MS P Gothic 8.25
  bool unthemed = false;  // the red check box is drawn without the theme, as the tool's is
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"KakehashiBenchSameUi";
  if (!RegisterClassExW(&wc)) return 1;
  wc.lpszClassName = L"KakehashiBenchSameUiFrame";
  if (!RegisterClassExW(&wc)) return 1;

  HMENU bar = CreateMenu();
  HMENU about = CreatePopupMenu();
  AppendMenuW(bar, MF_STRING, 201, L"使い方");
  AppendMenuW(about, MF_STRING, 202, L"バージョン情報");
  AppendMenuW(about, MF_STRING, 203, L"作者のHPへ");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(about), L"About");
  AppendMenuW(bar, MF_STRING, 204, L"送信先(&T)");

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT r{0, 0, Px(4980), Px(4740)};
  AdjustWindowRectEx(&r, kStyle, TRUE, WS_EX_CONTROLPARENT);
  HMONITOR monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"KakehashiBenchSameUi", L"bench same UI window", kStyle,
                                (info.rcMonitor.right - info.rcMonitor.left - width) / 2,
                                (info.rcMonitor.bottom - info.rcMonitor.top - height) / 2, width, height, nullptr,
                                bar, instance, nullptr);
  if (!window) return 1;
  const HFONT fonts[] = {Font(900, L"MS UI Gothic"), Font(825, L"MS UI Gothic"), Font(825, L"ＭＳ Ｐゴシック")};
  HWND frame = CreateWindowExW(WS_EX_CONTROLPARENT, L"KakehashiBenchSameUiFrame", L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Px(135), Px(2025), Px(4695), Px(2280), window,
                               nullptr, instance, nullptr);
  HWND group = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0,
                               Px(4695), Px(2280), frame, nullptr, instance, nullptr);
  SendMessageW(group, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0]), FALSE);

  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  constexpr DWORD kBox = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
  constexpr DWORD kOption = kChild | WS_TABSTOP | BS_AUTORADIOBUTTON;
  constexpr DWORD kLine = kChild | WS_TABSTOP | ES_AUTOHSCROLL;
  const Control table[] = {
      // In the tool's creation order: the frame's controls, then the window's, by tab index.
      {L"BUTTON", L"送信と同時に発言", kBox, 0, 270, 1890, 1815, 255, true, 2},
      {L"EDIT", L"", kLine | ES_MULTILINE | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL, WS_EX_CLIENTEDGE,
       120, 480, 4455, 1245, true, 1},
      {L"BUTTON", L"送信", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 2400, 1770, 1575, 375, true, 1},
      {L"STATIC", L"送信する文字列", kChild | SS_NOPREFIX, 0, 105, 225, 1110, 135, true, 1},
      {L"STATIC", L"© Kakehashi", kChild | SS_NOPREFIX | SS_CENTER, 0, 3870, 4500, 1230, 180, false, 1},
      {L"EDIT", L"ウィンドウが選択されていません", kLine | ES_READONLY, WS_EX_CLIENTEDGE, 90, 4455, 3690, 240, false, 1},
      {L"EDIT", L"500", kLine, WS_EX_CLIENTEDGE, 3270, 270, 1215, 240, false, 1},
      {L"BUTTON", L"リミッター解除（Chatのみ）", kBox, 0, 2850, 570, 2070, 315, false, 1, true},
      {L"BUTTON", L"複数行を1行ずつ送信", kOption | WS_GROUP, 0, 570, 105, 2100, 255, false, 0},
      {L"BUTTON", L"複数行逆さ文字", kOption, 0, 570, 435, 1860, 225, false, 0},
      {L"BUTTON", L"単一行逆さ文字", kOption, 0, 570, 750, 1740, 255, false, 0},
      {L"STATIC", L"連続送信時間（ﾐﾘ秒）", kChild | SS_NOPREFIX | WS_GROUP, 0, 2850, 60, 1890, 210, false, 1},
      {L"BUTTON", L"発言に文字を付加", kBox, 0, 2850, 840, 1770, 315, false, 1},
  };
  int id = 100;
  for (const Control& c : table) {
    HWND hwnd = CreateWindowExW(c.ex_style, c.class_name, c.text, c.style, Px(c.left), Px(c.top), Px(c.width),
                                Px(c.height), c.in_frame ? frame : window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(++id)), instance, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), FALSE);
    if (c.unthemed) SetWindowTheme(hwnd, L"", L"");
  }
  // A group box is only a drawing: below the frame's controls, not over them.
  SetWindowPos(group, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(GetDlgItem(window, 111), BM_SETCHECK, BST_CHECKED, 0);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
