// frmAbout, the About window: the tool's title as it stands in the main window's caption.
#pragma once

#include <string>

#include "forms/secondary_form.h"

namespace kakehashi {

inline constexpr wchar_t kFrmAboutCaption[] = L"ﾊﾞｰｼﾞｮﾝ情報";

class FrmAbout final : public SecondaryForm {
 public:
  explicit FrmAbout(OpenWindows& open_windows);
  // `main_caption` is read by the caller from the main window at this moment.
  void Open(HINSTANCE instance, std::wstring main_caption);

 private:
  void Form_Load() override;
  void Paint(HDC dc) override;

  std::wstring main_caption_;
};

}  // namespace kakehashi
