// Line ends of the message box: CR LF only. A lone CR or LF is a line break in some edit
// controls and a character in others, so it is turned into CR LF wherever text comes in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kakehashi {

// True when `text` holds a CR or LF that is not part of a CR LF pair.
bool HasLoneLineBreak(std::u16string_view text);

// `text` with every lone CR and every lone LF replaced by CR LF.
std::u16string ToCrLf(std::u16string_view text);

// Where position `position` of `text` (0 to its size; a caret or selection end) lies in
// ToCrLf(text): the same character stays on either side of it.
std::size_t CrLfPosition(std::u16string_view text, std::size_t position);

}  // namespace kakehashi
