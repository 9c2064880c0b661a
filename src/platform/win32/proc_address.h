// Functions looked up at run time: newer than the oldest Windows the tool runs on, or in a
// DLL that is loaded only when it is needed.
#pragma once

#include <windows.h>

namespace kakehashi {

// The function `name` of `module` as type `Fn`, or nullptr.
template <typename Fn>
Fn FindProc(HMODULE module, const char* name) {
  // Win32: GetProcAddress returns a generic FARPROC that has to be cast to the real type.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace kakehashi
