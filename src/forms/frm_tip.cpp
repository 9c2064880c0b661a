// frmTip: its control table and load handler.
#include "forms/frm_tip.h"

#include "forms/dialog_edit.h"
#include "forms/form_rules.h"
#include "forms/win32_text.h"

namespace kakehashi {
namespace {

using enum ControlId;
using K = ControlKind;
using F = FontKind;

constexpr ControlSpec kFrmTipControls[] = {
    {TipPicture1, K::PictureBox, kNone, L"", 240, 45, 6015, 4095, 1, F::WindowDefault, kNoColour, Back::White, kBorder | kIcon},
    {TipLabel1, K::Label, TipPicture1, L"使い方...", 600, 240, 2655, 255, 2, F::WindowDefault, kBlue, Back::White},
    {TipText1, K::WrappedReadOnly, TipPicture1, L"", 60, 540, 5865, 3450, 3, F::UiGothic9, kBlue, Back::White},
    {TipOK, K::DefaultButton, kNone, L"OK", 4500, 4260, 1215, 375, 0, F::WindowDefault},
};

// Sizable, without minimise and maximise boxes; resizing moves none of the controls.
constexpr FormSpec kFrmTipSpec = {
    L"KakehashiFrmTip", kFrmTipCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0,
    6360, 4725, false, 2370, 2400, kFrmTipControls, TipOK, TipOK,
};

}  // namespace

FrmTip::FrmTip(OpenWindows& open_windows) : SecondaryForm(open_windows, kFrmTipSpec) {}

void FrmTip::Form_Load() {
  HWND text = control(TipText1);
  UseDialogKeys(text, false);
  SetWindowTextW(text, ToWide(HelpText()).c_str());
}

}  // namespace kakehashi
