// What the program carries for its skinning: the engine image and the table of
// sixty skins, as opaque byte strings with their counts.
#pragma once

#include <cstdint>
#include <span>

namespace skinData {

inline constexpr std::size_t engineImageSize = 88576;

// The skin engine library, padded to engineImageSize bytes.
std::span<const std::uint8_t> engineImage();

// Entry 1..60 of the skin table; empty for any other number.
std::span<const std::uint8_t> skin(int number);

} // namespace skinData
