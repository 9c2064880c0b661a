// The clipboard on the real platform.
#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>

namespace kakehashi {
namespace {

constexpr wchar_t kOwnerClass[] = L"KakehashiClipboardOwner";

// Another program holds the clipboard open for a moment while it reads or writes it.
constexpr int kOpenAttempts = 10;
constexpr std::uint32_t kOpenRetryMs = 20;
// How long the owner of the user's content may take to answer before it is asked to
// render a format: one that does not answer would hold the send inside GetClipboardData.
constexpr UINT kOwnerAnswerMs = 1000;

// The marks, in this order: any data; a DWORD 0; a DWORD 0.
constexpr std::array<const wchar_t*, 3> kMarkNames = {
    L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"};

const std::array<UINT, 3>& MarkFormats() {
  static const std::array<UINT, 3> formats = {RegisterClipboardFormatW(kMarkNames[0]),
                                              RegisterClipboardFormatW(kMarkNames[1]),
                                              RegisterClipboardFormatW(kMarkNames[2])};
  return formats;
}

// The owner windows' objects by handle. Win32: a window's user data can be written by any
// program on the desktop, so the object is never read from the window. Made, used and
// forgotten on the thread that uses the clipboard.
std::vector<std::pair<HWND, Win32Clipboard*>>& Owners() {
  static std::vector<std::pair<HWND, Win32Clipboard*>> owners;
  return owners;
}

// Serves the messages sent to this thread (the clipboard's requests to the owner window)
// until `done` holds or `milliseconds` have passed; whether `done` held.
template <typename Done>
bool ServeUntil(std::uint32_t milliseconds, Done done) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    // Win32: with PM_QS_SENDMESSAGE alone, PeekMessage calls the window procedure for each
    // sent message and takes nothing posted: what another program posts here is never run.
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
  }
}

// Opens the clipboard for the owner window, tried for about 200 ms while another program
// holds it; requests sent to the owner window are served meanwhile, so a program that holds
// it open waiting for one of them lets go.
bool Open(HWND window) {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(window)) return true;
    if (attempt == kOpenAttempts) return false;
    ServeUntil(kOpenRetryMs, [] { return false; });
  }
}

bool PutBytes(UINT format, const void* bytes, std::size_t size) {
  // Win32: a block of 0 bytes would be a discarded one, which GlobalLock refuses.
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(size, 1));
  if (!memory) return false;
  if (void* p = GlobalLock(memory)) {
    if (size) std::memcpy(p, bytes, size);
    GlobalUnlock(memory);
    // The system owns the block once SetClipboardData has taken it.
    if (SetClipboardData(format, memory)) return true;
  }
  GlobalFree(memory);
  return false;
}

bool Put(const ClipboardFormat& saved) {
  if (saved.format != CF_ENHMETAFILE) return PutBytes(saved.format, saved.bytes.data(), saved.bytes.size());
  const HENHMETAFILE metafile =
      SetEnhMetaFileBits(static_cast<UINT>(saved.bytes.size()), reinterpret_cast<const BYTE*>(saved.bytes.data()));
  if (!metafile) return false;
  if (SetClipboardData(CF_ENHMETAFILE, metafile)) return true;
  DeleteEnhMetaFile(metafile);
  return false;
}

// The marks go first: a monitor that looks while the clipboard is still being filled
// finds them already.
void PutMarks() {
  const DWORD zero = 0;
  for (const UINT format : MarkFormats()) {
    if (format) PutBytes(format, &zero, sizeof zero);
  }
}

// The bytes of `format`, rendered now if its owner delays it; nothing when there are none.
// May throw std::bad_alloc.
std::optional<std::string> Read(UINT format) {
  const HANDLE data = GetClipboardData(format);
  if (!data) return std::nullopt;
  if (format == CF_ENHMETAFILE) {
    const auto metafile = static_cast<HENHMETAFILE>(data);
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0) return std::nullopt;
    std::string bytes(size, '\0');
    if (GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bytes.data())) != size) return std::nullopt;
    return bytes;
  }
  const SIZE_T size = GlobalSize(data);
  if (size == 0) return std::nullopt;
  std::string bytes(size, '\0');
  const void* p = GlobalLock(data);
  if (!p) return std::nullopt;
  std::memcpy(bytes.data(), p, size);
  GlobalUnlock(data);
  return bytes;
}

// Whether the owner of the clipboard's content (if any) answers: it renders the formats it
// delays only when asked, inside GetClipboardData. Windows gives up on a render after 30 s;
// Wine: GetClipboardData waits for the owner without a time limit.
bool OwnerAnswers() {
  const HWND owner = GetClipboardOwner();
  DWORD_PTR result = 0;
  return !owner || SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kOwnerAnswerMs, &result) != 0;
}

}  // namespace

bool Win32Clipboard::Saves(std::uint32_t format) {
  const auto& marks = MarkFormats();
  if (std::find(marks.begin(), marks.end(), format) != marks.end()) return false;
  // Registered formats are memory blocks by convention.
  if (format >= 0xC000 && format <= 0xFFFF) return true;
  // Left out: CF_BITMAP and CF_PALETTE are GDI objects, and CF_METAFILEPICT holds one; the
  // system makes CF_BITMAP again from CF_DIB, CF_METAFILEPICT from CF_ENHMETAFILE. The
  // owner draws CF_OWNERDISPLAY itself; the CF_DSP formats go with its private formats, and
  // private (CF_PRIVATEFIRST-LAST) and GDI-object (CF_GDIOBJFIRST-LAST) data is handles
  // that only their owner understands.
  switch (format) {
    case CF_TEXT:
    case CF_SYLK:
    case CF_DIF:
    case CF_TIFF:
    case CF_OEMTEXT:
    case CF_DIB:
    case CF_PENDATA:
    case CF_RIFF:
    case CF_WAVE:
    case CF_UNICODETEXT:
    case CF_ENHMETAFILE:
    case CF_HDROP:
    case CF_LOCALE:
    case CF_DIBV5:
      return true;
    default:
      return false;
  }
}

std::uint32_t Win32Clipboard::ExcludeFromMonitorsFormat() { return MarkFormats()[0]; }

Win32Clipboard::~Win32Clipboard() { DestroyWindowIfAny(); }

LRESULT CALLBACK Win32Clipboard::OwnerProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
  const auto& owners = Owners();
  const auto it = std::find_if(owners.begin(), owners.end(), [hwnd](const auto& o) { return o.first == hwnd; });
  if (it != owners.end()) {
    switch (message) {
      case WM_RENDERFORMAT:
        it->second->Render(static_cast<UINT>(wp));
        return 0;
      // The line must not outlive the tool's use of it: what is not rendered goes.
      case WM_RENDERALLFORMATS:
        return 0;
      case WM_DESTROYCLIPBOARD:
        it->second->Disowned();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, message, wp, lp);
}

bool Win32Clipboard::MakeWindow() {
  if (window_) return true;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kOwnerClass, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = instance;
    wc.lpszClassName = kOwnerClass;
    if (!RegisterClassExW(&wc)) return false;
  }
  try {
    Owners().reserve(Owners().size() + 1);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // A message-only window: not among the desktop's windows, so no broadcast reaches it.
  window_ = CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window_) Owners().emplace_back(window_, this);
  return window_ != nullptr;
}

void Win32Clipboard::DestroyWindowIfAny() {
  if (!window_) return;
  auto& owners = Owners();
  owners.erase(std::remove_if(owners.begin(), owners.end(), [this](const auto& o) { return o.first == window_; }),
               owners.end());
  // Win32: on another thread this fails; the window then goes with its thread, its
  // messages no longer reaching this object.
  DestroyWindow(window_);
  window_ = nullptr;
  owned_ = false;
  offered_.reset();
}

void Win32Clipboard::Disowned() {
  owned_ = false;
  offered_.reset();
}

// Only while Await waits, only the offered text, only to a program that `accept` takes. A
// refused program gets nothing, and the text stays delayed: the next request comes here too.
void Win32Clipboard::Render(UINT format) {
  if (format != CF_UNICODETEXT || !accept_ || !offered_ || !owned_ || reader_) return;
  DWORD process = 0;
  // The window that opened the clipboard to read it; 0 when it was opened without one.
  if (const HWND reader = GetOpenClipboardWindow()) GetWindowThreadProcessId(reader, &process);
  bool accepted = false;
  try {
    accepted = (*accept_)(process);
  } catch (...) {
    // Exceptions never cross the window procedure: refused.
  }
  if (!accepted) return;
  const std::u16string& text = *offered_;
  if (!PutBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t))) return;
  offered_.reset();
  reader_ = process;
}

std::optional<std::vector<ClipboardFormat>> Win32Clipboard::Save() {
  // Wine: OpenClipboard compares windows, not threads: opened without a window, it would
  // succeed while another program holds the clipboard open without one, and take it over.
  if (!MakeWindow()) return std::nullopt;
  std::optional<std::vector<ClipboardFormat>> saved;
  if (!Open(window_)) {
    if (!owned_) DestroyWindowIfAny();
    return saved;
  }
  try {
    if (OwnerAnswers()) {
      saved.emplace();
      for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (!Saves(format)) continue;
        if (auto bytes = Read(format)) saved->push_back({format, std::move(*bytes)});
      }
    }
  } catch (const std::bad_alloc&) {
    // Content too large to hold twice: the send is refused rather than the content lost.
    saved.reset();
  }
  CloseClipboard();
  // The window is made again for the offer: a send refused now would leave it behind.
  if (!owned_) DestroyWindowIfAny();
  return saved;
}

bool Win32Clipboard::Offer(std::u16string_view text) {
  if (!MakeWindow() || !Open(window_)) return false;
  bool offered = false;
  // EmptyClipboard tells the previous owner, this window included, that its content is gone.
  if (EmptyClipboard()) {
    owned_ = true;
    try {
      offered_.emplace(text);
      PutMarks();
      // Win32: SetClipboardData returns the handle given, 0 here, also when it succeeds.
      SetClipboardData(CF_UNICODETEXT, nullptr);
      offered = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    } catch (const std::bad_alloc&) {
      offered_.reset();
    }
  }
  CloseClipboard();
  return offered;
}

std::optional<std::uint32_t> Win32Clipboard::Await(std::uint32_t milliseconds,
                                                   const std::function<bool(std::uint32_t)>& accept) {
  if (!window_ || !offered_) return std::nullopt;
  accept_ = &accept;
  reader_.reset();
  // A copy made by the user meanwhile ends the wait: the offer is gone.
  ServeUntil(milliseconds, [this] { return reader_.has_value() || !owned_; });
  accept_ = nullptr;
  return std::exchange(reader_, std::nullopt);
}

bool Win32Clipboard::Restore(const std::vector<ClipboardFormat>& formats) {
  bool restored = false;
  if (window_ && owned_ && Open(window_)) {
    // Ownership is looked at again with the clipboard open, when it can no longer change:
    // content another program put there meanwhile is the user's now.
    if (owned_ && GetClipboardOwner() == window_ && EmptyClipboard()) {
      restored = true;
      // An empty clipboard stays empty, without marks.
      if (!formats.empty()) PutMarks();
      for (const ClipboardFormat& format : formats) restored = Put(format) && restored;
    }
    CloseClipboard();
  }
  // The restored content stays on the clipboard without an owner.
  DestroyWindowIfAny();
  return restored;
}

}  // namespace kakehashi
