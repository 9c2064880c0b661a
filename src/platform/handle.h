// Window handles as portable code sees them: a 32-bit signed value, 0 meaning "none".
#pragma once

#include <compare>
#include <cstdint>

namespace kakehashi {

// Win32 handles are 32-bit significant, also in 64-bit processes, so this value type
// carries any HWND losslessly. Portable code never sees HWND itself.
struct Handle {
  std::int32_t value = 0;

  constexpr Handle() = default;
  constexpr explicit Handle(std::int32_t v) : value(v) {}

  constexpr explicit operator bool() const { return value != 0; }
  friend constexpr auto operator<=>(Handle, Handle) = default;
};

inline constexpr Handle kNoWindow{};

}  // namespace kakehashi
