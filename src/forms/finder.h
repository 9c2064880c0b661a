// The finders' side of the platform: the window under the pointer, what can be read of
// another program's window, the inverted outline around it, and a disabled finder's look.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/target_rules.h"
#include "platform/handle.h"

namespace kakehashi {

// The window the user points at with `screen`: from the top-level window there, down
// through the visible, enabled children that hold the point, past group boxes and labels
// that the mouse goes through; nullptr when there is no window there.
HWND DeepestWindowAt(POINT screen);

// The id of the process that owns `window`; 0 when it is gone.
DWORD ProcessOf(HWND window);
// Whether `window` belongs to this program.
bool IsOwnWindow(HWND window);

// The caption of `window`, read without a message to it.
std::u16string CaptionOf(HWND window);

// The top-level window of the window picked as `handle` in process `process_id`; nullptr
// when that window is gone.
HWND PickedRoot(Handle handle, std::uint32_t process_id);

// What can be read now of the window picked as `handle` in process `process_id`: its
// class, its caption and its top-level window's, its program and whether it takes Unicode.
WindowFacts FactsOf(Handle handle, std::uint32_t process_id);

// Inverts a frame `thickness` pixels wide along the inside of `screen_rect`, over every
// window; inverting it again restores the pixels.
void InvertFrame(const RECT& screen_rect, int thickness);

// Paints the disabled finder `finder` (its WM_PAINT): the icon greyed.
void PaintDisabledFinder(HWND finder);

}  // namespace kakehashi
