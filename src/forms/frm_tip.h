// frmTip, the help window: a fixed usage text in a read-only box.
#pragma once

#include "forms/secondary_form.h"

namespace kakehashi {

inline constexpr wchar_t kFrmTipCaption[] = L"ﾜﾝﾎﾟｲﾝﾄ";

class FrmTip final : public SecondaryForm {
 public:
  explicit FrmTip(OpenWindows& open_windows);
  void Open(HINSTANCE instance) { OpenForm(instance); }

 private:
  void Form_Load() override;
};

}  // namespace kakehashi
