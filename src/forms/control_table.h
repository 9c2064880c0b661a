// Windows built from a table of controls: kind, parent, caption, twips rectangle, tab
// index, font and colours. Twips become pixels at the window's DPI here and nowhere else.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "forms/container.h"
#include "forms/control_ids.h"

namespace kakehashi {

enum class ControlKind {
  Label,
  Edit,               // single line, editable
  ReadOnlyEdit,       // single line, read-only
  MessageEdit,        // multi-line, both scroll bars, no word wrap, editable
  WrappedReadOnly,    // multi-line, vertical scroll bar (lines wrap), read-only
  CheckBox,
  OptionButton,
  CommandButton,
  DefaultButton,
  Frame,              // container drawn as a group box
  PictureBox,         // container with a picture at its top left
  Finder,             // static showing the crosshair icon (SS_ICON) that is dragged onto a window
};

enum class FontKind { WindowDefault, UiGothic825, UiGothic9, PGothic825, kCount };

enum class Back { Default, White, MenuBar };

inline constexpr COLORREF kNoColour = CLR_INVALID;
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);
inline constexpr COLORREF kGrey = RGB(96, 96, 96);

// Flags of a table row.
inline constexpr unsigned kHidden = 1;     // not visible at start
inline constexpr unsigned kCentred = 2;    // text centred
inline constexpr unsigned kGroup = 4;      // starts a group of option buttons
inline constexpr unsigned kBorder = 8;     // picture box with a sunken border
inline constexpr unsigned kIcon = 16;      // picture box showing the program's icon
inline constexpr unsigned kLater = 32;     // made with its controls by CreateLater, not by Create

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  ControlId parent;  // kNone: the window itself
  const wchar_t* text;
  int left, top, width, height;  // twips, in the parent's client area
  int tab;                       // tab index: the order of the keyboard focus
  FontKind font = FontKind::UiGothic825;
  COLORREF text_colour = kNoColour;
  Back back = Back::Default;
  unsigned flags = 0;
};

// Twips to pixels at `dpi`, rounded like MulDiv.
int TwipsToPixels(int twips, UINT dpi);

// The controls of one window, created from its table.
class ControlSet {
 public:
  ControlSet() = default;
  ~ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control of `table` in `window`, in tab order, placed and with its font
  // for `dpi`; throws StartupError.
  void Create(HWND window, std::span<const ControlSpec> table, HINSTANCE instance, UINT dpi);
  // Creates the kLater rows (and what they hold) that are not made yet, in their place in
  // the focus order; throws StartupError.
  void CreateLater(HWND window, HINSTANCE instance);
  // Places and sizes the controls and sets their fonts for `dpi`.
  void Layout(UINT dpi);

  HWND operator[](ControlId id) const;
  // The text and background for a WM_CTLCOLOR* of `control`; nullptr when the control
  // keeps the system's colours.
  HBRUSH ColourFor(HWND control, HDC dc) const;
  // The font of the window's default at the last layout (for drawing text of its own).
  HFONT font(FontKind kind) const { return fonts_[static_cast<std::size_t>(kind)]; }

 private:
  struct Entry {
    const ControlSpec* item;
    HWND hwnd;
  };
  void CreateChildren(HWND parent, ControlId parent_id, HINSTANCE instance, bool later);
  void CreateOne(HWND parent, const ControlSpec& item, HINSTANCE instance);
  int FocusOrder(const ControlSpec& item) const;
  void DeleteFonts();
  void MakeFonts(UINT dpi);
  // The rectangle of `item` in its parent's client area at the current DPI.
  RECT Bounds(const ControlSpec& item) const;
  void SetFinderIcons(UINT dpi);

  std::span<const ControlSpec> table_;
  UINT dpi_ = 96;
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<Container>> containers_;
  std::array<HFONT, static_cast<std::size_t>(FontKind::kCount)> fonts_{};
  HICON finder_icon_ = nullptr;  // sized for the last layout's DPI
  bool finder_icon_owned_ = false;
};

}  // namespace kakehashi
