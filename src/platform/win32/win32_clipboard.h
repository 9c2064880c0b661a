// The clipboard on the real platform: the user's content saved and put back, and a line
// offered with delayed rendering to the one program that may have it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_ops.h"

namespace kakehashi {

// The operations of WindowOps' clipboard section, with their contracts. Every call is made
// on one thread. The owner window is made on it for a save and for an offer, and destroyed
// after the save and once the saved content has been put back: a thread without a message
// loop must not own the clipboard, as another program that empties it sends its owner
// WM_DESTROYCLIPBOARD and waits for the answer (Wine: up to 5 s).
class Win32Clipboard {
 public:
  Win32Clipboard() = default;
  // An owner window left behind (no restore, or another thread) is forgotten here: its
  // messages no longer reach this object.
  ~Win32Clipboard();
  Win32Clipboard(const Win32Clipboard&) = delete;
  Win32Clipboard& operator=(const Win32Clipboard&) = delete;

  std::optional<std::vector<ClipboardFormat>> Save();
  bool Offer(std::u16string_view text);
  std::optional<std::uint32_t> Await(std::uint32_t milliseconds, const std::function<bool(std::uint32_t)>& accept);
  bool Restore(const std::vector<ClipboardFormat>& formats);

  // Whether `format` is saved: a memory block or an enhanced metafile whose bytes can be
  // copied and put back, and not one of the marks the tool adds itself.
  static bool Saves(std::uint32_t format);
  // The registered format that keeps content from clipboard monitors (with two more that
  // keep it out of clipboard history and the cloud clipboard); 0 if it could not be registered.
  static std::uint32_t ExcludeFromMonitorsFormat();

 private:
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
  bool MakeWindow();
  void DestroyWindowIfAny();
  void Render(UINT format);
  void Disowned();

  HWND window_ = nullptr;
  bool owned_ = false;                      // the clipboard's content is the tool's
  std::optional<std::u16string> offered_;   // the line, until a program got it
  const std::function<bool(std::uint32_t)>* accept_ = nullptr;  // while Await waits
  std::optional<std::uint32_t> reader_;     // the process that got the line
};

}  // namespace kakehashi
