#pragma once
// How numbers are read from and written to the settings' text.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The decimal number at the start of text (sign, digits, fraction, exponent), rounded to a whole
// number with halves to the even neighbour and clamped to 32 bits; 0 when there is none.
int32_t ParseSettingNumber(std::u16string_view text);

std::u16string ToDecimalText(int32_t value);

} // namespace quillet
