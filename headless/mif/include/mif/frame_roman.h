// FrameRoman, the application's 8-bit character set used for the text of
// MIF files up to version 7.00: ASCII below 0x80, Mac Roman-derived
// characters above, and the application's control codes below 0x20.
#ifndef VELTRANO_MIF_FRAME_ROMAN_H
#define VELTRANO_MIF_FRAME_ROMAN_H

#include <cstdint>
#include <optional>

namespace mif {

// The Unicode code point of a FrameRoman byte. Control codes (0x00-0x1F)
// keep their own value, so they stay distinct from ordinary characters.
char32_t FrameRomanToUnicode(std::uint8_t byte);

// The FrameRoman byte of a code point, or none when FrameRoman lacks it.
std::optional<std::uint8_t> UnicodeToFrameRoman(char32_t code);

}  // namespace mif

#endif
