// The status box's tooltip, made once and given each new text.
#include "forms/status_tip.h"

#include <commctrl.h>

namespace kakehashi {
namespace {

TTTOOLINFOW Tool(HWND owner, HWND box, const std::wstring& text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(box);
  // The tooltip copies the text.
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  return tool;
}

}  // namespace

void StatusTip::Create(HWND owner, HWND box, HINSTANCE instance, UINT dpi, const std::wstring& text) {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
  if (!tip_) return;
  owner_ = owner;
  box_ = box;
  const TTTOOLINFOW tool = Tool(owner_, box_, text);
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // Long texts wrap instead of running off the screen.
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(360, static_cast<int>(dpi), 96));
}

void StatusTip::SetText(const std::wstring& text) {
  if (!tip_) return;
  const TTTOOLINFOW tool = Tool(owner_, box_, text);
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kakehashi
