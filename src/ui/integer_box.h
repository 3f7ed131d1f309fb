// The rule of the integer boxes ("编辑框4", "编辑框5").
#pragma once

#include <string>
#include <string_view>

namespace integerBox {

// Typing: characters below 32 pass (Backspace, Ctrl shortcuts); of the others
// only the digits and "-".
bool acceptsTypedCharacter(char32_t c);

// Leaving: the whole number at the text's start (leading white space, an
// optional sign, digits; none gives 0), read as a signed 64-bit integer,
// clamped to the 32-bit range, written in decimal; 0 becomes the empty text.
std::string normalised(std::string_view text);

} // namespace integerBox
