// What the top-level windows share: creation from a table at the window's DPI,
// placement, re-layout on WM_DPICHANGED, colours, keyboard focus kept across activation,
// and the count of open windows that ends the program.
#pragma once

#include <windows.h>

#include <span>

#include "forms/control_table.h"
#include "forms/window.h"

namespace kakehashi {

// The program's open top-level windows; it posts WM_QUIT when the last one closes.
class OpenWindows {
 public:
  void Opened() { ++open_; }
  void Closed();
  int open() const { return open_; }

 private:
  int open_ = 0;
};

struct FormSpec {
  const wchar_t* class_name;
  const wchar_t* caption;
  DWORD style;
  DWORD ex_style;
  int client_width, client_height;  // twips
  bool centred;                     // centred on its monitor; else at client_left/top
  int client_left, client_top;      // twips from the top left of the screen
  std::span<const ControlSpec> table;
  ControlId first_focus;
  ControlId default_button;
};

class FormWindow : public Window {
 public:
  explicit FormWindow(OpenWindows& open_windows) : open_windows_(open_windows) {}
  bool loaded() const { return hwnd() != nullptr; }

 protected:
  // Creates the window hidden with all its controls; `menu` may be nullptr. Throws StartupError.
  void Build(const FormSpec& form, HINSTANCE instance, HMENU menu);
  // Creates the table's kLater rows not made yet. Throws StartupError.
  void BuildLater(HINSTANCE instance) { controls_.CreateLater(hwnd(), instance); }
  // Shows the window and puts the focus on the table's first control.
  void ShowAndFocus(int show_command);

  // The messages a form handles beyond the shared ones.
  virtual LRESULT FormMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

  HWND control(ControlId id) const { return controls_[id]; }
  // The control that has the keyboard focus, or that gets it back when the window is
  // next activated.
  HWND FocusedControl() const;
  // Gives `control` the focus now if the window is active, else when it is next activated.
  void FocusControl(HWND control);
  UINT dpi() const { return dpi_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) final;
  void OnFinalMessage() override;
  RECT Placement(UINT dpi, DWORD style, bool has_menu, DWORD ex_style, HMONITOR monitor) const;
  // Moves and sizes the window to its placement at its DPI on its monitor.
  void Place();
  LRESULT on_ctl_color(UINT msg, HDC dc, HWND control);
  void on_activate(WPARAM state);
  void on_set_focus();
  void on_dpi_changed(UINT dpi, LPARAM suggested);

  OpenWindows& open_windows_;
  const FormSpec* form_ = nullptr;
  ControlSet controls_;
  UINT dpi_ = 96;
  bool counted_ = false;
  HWND last_focus_ = nullptr;
};

}  // namespace kakehashi
