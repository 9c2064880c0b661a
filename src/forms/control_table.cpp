// Creation, DPI layout, fonts and colours of table-built controls.
#include "forms/control_table.h"

#include <uxtheme.h>

#include <algorithm>
#include <climits>

namespace kakehashi {
namespace {

struct FontFace {
  const wchar_t* face;
  int hundredths_of_point;
};

// Indexed by FontKind. The window default is MS UI Gothic 9 points.
constexpr FontFace kFonts[] = {
    {L"MS UI Gothic", 900},
    {L"MS UI Gothic", 825},
    {L"MS UI Gothic", 900},
    {L"ＭＳ Ｐゴシック", 825},
};
static_assert(std::size(kFonts) == static_cast<std::size_t>(FontKind::kCount));

bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::Label && kind != ControlKind::Frame && kind != ControlKind::PictureBox &&
         kind != ControlKind::Finder;
}

// The finder's crosshair: 32 pixels at 96 DPI.
constexpr int kFinderIconTwips = 480;
constexpr WORD kCrossCursorId = 32515;  // IDC_CROSS, OCR_CROSS

bool IsContainer(ControlKind kind) { return kind == ControlKind::Frame || kind == ControlKind::PictureBox; }

struct WindowKind {
  const wchar_t* class_name;
  DWORD style;
  DWORD ex_style;
};

WindowKind KindOf(ControlKind kind) {
  constexpr DWORD kEditBase = WS_TABSTOP;
  switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_NOPREFIX, 0};
    case ControlKind::Edit: return {L"EDIT", kEditBase | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyEdit: return {L"EDIT", kEditBase | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::MessageEdit:
      // No ES_WANTRETURN: Enter presses the default button; Shift+Enter is handled by the box.
      return {L"EDIT",
              kEditBase | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL,
              WS_EX_CLIENTEDGE};
    case ControlKind::WrappedReadOnly:
      return {L"EDIT", kEditBase | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox: return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::OptionButton: return {L"BUTTON", WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::CommandButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::DefaultButton: return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    // Win32: without SS_CENTERIMAGE a static resizes itself to each icon it is given;
    // SS_NOTIFY lets it have the mouse, so that its owner can start a drag on it.
    case ControlKind::Finder: return {L"STATIC", SS_ICON | SS_CENTERIMAGE | SS_NOTIFY, 0};
    case ControlKind::Frame:
    case ControlKind::PictureBox: break;
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

ControlSet::~ControlSet() {
  DeleteFonts();
  if (finder_icon_owned_) DestroyCursor(finder_icon_);
}

void ControlSet::DeleteFonts() {
  for (HFONT& f : fonts_) {
    if (f) DeleteObject(f);
    f = nullptr;
  }
}

// The system's crosshair cursor, drawn at the size the DPI asks for, in every finder.
void ControlSet::SetFinderIcons(UINT dpi) {
  const bool any = std::any_of(entries_.begin(), entries_.end(),
                               [](const Entry& e) { return e.item->kind == ControlKind::Finder; });
  if (!any) return;
  const int size = TwipsToPixels(kFinderIconTwips, dpi);
  const HICON old = finder_icon_;
  const bool old_owned = finder_icon_owned_;
  finder_icon_ = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(kCrossCursorId), IMAGE_CURSOR, size, size, 0));
  finder_icon_owned_ = finder_icon_ != nullptr;
  if (!finder_icon_) finder_icon_ = LoadCursorW(nullptr, MAKEINTRESOURCEW(kCrossCursorId));
  for (const Entry& e : entries_) {
    if (e.item->kind == ControlKind::Finder) {
      SendMessageW(e.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(finder_icon_), 0);
    }
  }
  // As with fonts: the old icon goes once no finder shows it.
  if (old_owned && old != finder_icon_) DestroyCursor(old);
}

void ControlSet::Create(HWND window, std::span<const ControlSpec> table, HINSTANCE instance, UINT dpi) {
  // A window loaded again gets new controls: forget those of its last life.
  entries_.clear();
  containers_.clear();
  table_ = table;
  dpi_ = dpi;
  DeleteFonts();
  MakeFonts(dpi);
  Container::Register(instance);
  // Each control is made where it belongs, with its font: nothing is moved or repainted
  // before the window first shows.
  CreateChildren(window, ControlId::kNone, instance, false);
  SetFinderIcons(dpi);
}

void ControlSet::CreateLater(HWND window, HINSTANCE instance) { CreateChildren(window, ControlId::kNone, instance, true); }

void ControlSet::MakeFonts(UINT dpi) {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    fonts_[i] = CreateFontW(-MulDiv(kFonts[i].hundredths_of_point, static_cast<int>(dpi), 7200), 0, 0, 0, FW_NORMAL,
                            FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFonts[i].face);
  }
}

RECT ControlSet::Bounds(const ControlSpec& item) const {
  const int left = TwipsToPixels(item.left, dpi_), top = TwipsToPixels(item.top, dpi_);
  return RECT{left, top, left + TwipsToPixels(item.width, dpi_), top + TwipsToPixels(item.height, dpi_)};
}

// A container takes the focus in the order of the first of its controls that can take it,
// so that Tab runs through the controls in the order of their tab indexes.
int ControlSet::FocusOrder(const ControlSpec& item) const {
  if (!IsContainer(item.kind)) return item.tab;
  int order = INT_MAX;
  for (const ControlSpec& child : table_) {
    if (child.parent == item.id && (TakesFocus(child.kind) || IsContainer(child.kind))) {
      order = std::min(order, FocusOrder(child));
    }
  }
  return order == INT_MAX ? item.tab : order;
}

// `later`: only the kLater rows not made yet, each put in its place in the Z order.
void ControlSet::CreateChildren(HWND parent, ControlId parent_id, HINSTANCE instance, bool later) {
  // The dialog manager moves the focus in creation (Z) order: the children in focus order,
  // those of the same order as they come in the table.
  std::vector<const ControlSpec*> children;
  for (const ControlSpec& item : table_) {
    if (item.parent != parent_id) continue;
    const int order = FocusOrder(item);
    const auto after = std::find_if(children.begin(), children.end(),
                                    [&](const ControlSpec* child) { return FocusOrder(*child) > order; });
    children.insert(after, &item);
  }
  HWND previous = HWND_TOP;  // the last sibling before the next one, in Z order
  for (const ControlSpec* item : children) {
    const bool is_later = (item->flags & kLater) != 0;
    if (later) {
      if (HWND made = (*this)[item->id]) {
        previous = made;
        continue;
      }
    }
    if (is_later != later) continue;
    CreateOne(parent, *item, instance);
    HWND hwnd = entries_.back().hwnd;
    if (later) SetWindowPos(hwnd, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = hwnd;
    if (IsContainer(item->kind)) {
      Container* container = containers_.back().get();
      CreateChildren(container->hwnd(), item->id, instance, false);
      container->LowerGroupBox();
    }
  }
}

void ControlSet::CreateOne(HWND parent, const ControlSpec& item, HINSTANCE instance) {
  DWORD visible = (item.flags & kHidden) ? 0 : WS_VISIBLE;
  if (IsContainer(item.kind)) {
    Container::Look look;
    look.caption = item.kind == ControlKind::Frame ? item.text : nullptr;
    look.white = item.back == Back::White;
    look.border = (item.flags & kBorder) != 0;
    if (item.flags & kIcon) {
      look.icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                                32, 32, LR_SHARED));
    }
    auto container = std::make_unique<Container>();
    container->Create(parent, IdNumber(item.id), look, visible, Bounds(item), instance);
    if (container->group_box()) {
      SendMessageW(container->group_box(), WM_SETFONT, reinterpret_cast<WPARAM>(font(FontKind::WindowDefault)), FALSE);
    }
    entries_.push_back({&item, container->hwnd()});
    containers_.push_back(std::move(container));
    return;
  }
  const WindowKind kind = KindOf(item.kind);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | visible | kind.style;
  if (item.flags & kCentred) style |= SS_CENTER;
  if (item.flags & kGroup) style |= WS_GROUP;
  const RECT r = Bounds(item);
  HWND hwnd = CreateWindowExW(kind.ex_style, kind.class_name, item.text, style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdNumber(item.id))),
                              instance, nullptr);
  Check(hwnd != nullptr, "CreateWindowExW");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(item.font)), FALSE);
  if (item.text_colour != kNoColour &&
      (item.kind == ControlKind::CheckBox || item.kind == ControlKind::OptionButton)) {
    // Win32: themed check boxes (comctl32 v6) draw their caption in the theme's colour
    // and ignore WM_CTLCOLORSTATIC; unthemed ones honour it.
    SetWindowTheme(hwnd, L"", L"");
  }
  entries_.push_back({&item, hwnd});
}

void ControlSet::Layout(UINT dpi) {
  // Win32: a control keeps using the font it was given; the old fonts are deleted only
  // once every control holds its new one.
  const auto old_fonts = fonts_;
  dpi_ = dpi;
  MakeFonts(dpi);
  for (const Entry& e : entries_) {
    const RECT r = Bounds(*e.item);
    SetWindowPos(e.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const ControlSpec& s = *e.item;
    SendMessageW(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(s.font)), TRUE);
  }
  for (const auto& c : containers_) {
    if (c->group_box()) SendMessageW(c->group_box(), WM_SETFONT, reinterpret_cast<WPARAM>(font(FontKind::WindowDefault)), TRUE);
  }
  for (const HFONT f : old_fonts) {
    if (f) DeleteObject(f);
  }
  SetFinderIcons(dpi);
}

HWND ControlSet::operator[](ControlId id) const {
  for (const Entry& e : entries_) {
    if (e.item->id == id) return e.hwnd;
  }
  return nullptr;
}

HBRUSH ControlSet::ColourFor(HWND control, HDC dc) const {
  for (const Entry& e : entries_) {
    if (e.hwnd != control) continue;
    const ControlSpec& s = *e.item;
    if (s.text_colour == kNoColour && s.back == Back::Default) return nullptr;
    if (s.text_colour != kNoColour) SetTextColor(dc, s.text_colour);
    switch (s.back) {
      case Back::White:
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      case Back::MenuBar:
        // System colour index 4 (COLOR_MENU), the menu bar's colour.
        SetBkColor(dc, GetSysColor(COLOR_MENU));
        return GetSysColorBrush(COLOR_MENU);
      case Back::Default: break;
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  return nullptr;
}

}  // namespace kakehashi
