// frmAbout: its control table, load handler and the line under the credits.
#include "forms/frm_about.h"

#include <utility>

namespace kakehashi {
namespace {

using enum ControlId;
using K = ControlKind;
using F = FontKind;

constexpr ControlSpec kFrmAboutControls[] = {
    {AboutPicIcon, K::PictureBox, kNone, L"", 240, 240, 540, 540, 1, F::WindowDefault, kNoColour, Back::Default, kIcon},
    {AboutTitle, K::Label, kNone, L"", 900, 360, 3690, 240, 2, F::WindowDefault, kBlue},
    {AboutLabel1, K::Label, kNone, L"2026.12 かけはし有志", 1080, 720, 1935, 255, 3, F::WindowDefault},
    {AboutOK, K::DefaultButton, kNone, L"OK", 3240, 720, 1380, 345, 0, F::WindowDefault},
    {AboutLabel2, K::Label, kNone, L"※MIT ライセンス・無保証です", 360, 1200, 2655, 255, 4, F::WindowDefault},
};

// Fixed dialog border, without minimise and maximise boxes.
constexpr FormSpec kFrmAboutSpec = {
    L"KakehashiFrmAbout", kFrmAboutCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
    4830, 1515, false, 2340, 1935, kFrmAboutControls, AboutOK, AboutOK,
};

// Line1: from (120, 1080) to (3120, 1080) twips.
constexpr int kLineLeft = 120, kLineRight = 3120, kLineY = 1080;

}  // namespace

FrmAbout::FrmAbout(OpenWindows& open_windows) : SecondaryForm(open_windows, kFrmAboutSpec) {}

void FrmAbout::Open(HINSTANCE instance, std::wstring main_caption) {
  main_caption_ = std::move(main_caption);
  OpenForm(instance);
}

void FrmAbout::Form_Load() { SetWindowTextW(control(AboutTitle), main_caption_.c_str()); }

void FrmAbout::Paint(HDC dc) {
  RECT line{TwipsToPixels(kLineLeft, dpi()), TwipsToPixels(kLineY, dpi()), TwipsToPixels(kLineRight, dpi()),
            TwipsToPixels(kLineY, dpi()) + 2};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

}  // namespace kakehashi
