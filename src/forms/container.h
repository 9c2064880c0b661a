// A frame or picture box: a child window that holds controls of its own, so that hiding it
// hides them, and that passes its controls' notifications on to its parent.
#pragma once

#include <windows.h>

#include "forms/window.h"

namespace kakehashi {

class Container final : public Window {
 public:
  struct Look {
    const wchar_t* caption = nullptr;  // a frame: drawn as a group box with this caption
    bool white = false;                // white background instead of the dialog colour
    bool border = false;               // sunken border, controls placed inside it
    HICON icon = nullptr;              // drawn 32 x 32 at the top left of the client area
  };

  static void Register(HINSTANCE instance);
  void Create(HWND parent, int id, Look look, DWORD style, RECT bounds, HINSTANCE instance);

  // Puts the group box under the controls created since (new children join at the bottom).
  void LowerGroupBox();
  // The group box drawing a frame's outline and caption; nullptr for a picture box.
  HWND group_box() const { return group_box_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void on_size();
  void on_paint();
  LRESULT on_erase(HDC dc);

  Look look_;
  HWND group_box_ = nullptr;
};

}  // namespace kakehashi
