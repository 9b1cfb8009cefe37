// Reading texts as numbers and converting numbers to the 16- and 32-bit
// integers of the settings. ReadNumber is the lenient rule used for stored
// and typed settings; ParseNumber is the strict one used where a whole text
// must be a number (a setter given text, a window handle on the command line).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// The number at the start of the text: blanks, tabs and line feeds are
// skipped anywhere; sign, digits, one period, an exponent with E or D, or
// &H / &O integers; reading stops at the first character that cannot go on.
// A text that does not start with a number reads as 0.
double ReadNumber(std::string_view text);

// The whole text (blanks around it allowed) as a number, or nothing when it
// is not one.
std::optional<double> ParseNumber(std::string_view text);

// Rounds to the nearest whole number, a half going to the even neighbour.
double RoundHalfEven(double value);

// Rounds half to even; throws Overflow when the result does not fit.
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

// The same without throwing: nothing when the result does not fit.
std::optional<std::int16_t> TryToInt16(double value);

// The same from a text: TypeMismatch when the text is not a number.
std::int16_t ToInt16(std::string_view text);
std::int32_t ToInt32(std::string_view text);

} // namespace orv
