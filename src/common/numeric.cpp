#include "common/numeric.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/errors.h"

namespace orv {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// Reads the longest number at the start of s. Returns the value and how many
// characters it used (0 when s does not start with a number).
struct Scan {
    double value = 0;
    std::size_t used = 0;
};

Scan ScanNumber(std::string_view s) {
    Scan out;
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = s[1];
        const int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
        if (base == 0) return out;
        std::size_t i = 2;
        double v = 0;
        while (i < s.size() && DigitValue(s[i], base) >= 0)
            v = v * base + DigitValue(s[i++], base);
        if (i == 2) return out;
        return {v, i};
    }
    std::string text; // normalised copy for strtod: D exponent becomes E
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) text += s[i++];
    bool digits = false;
    while (i < s.size() && IsDigit(s[i]))
        text += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        text += s[i++];
        while (i < s.size() && IsDigit(s[i]))
            text += s[i++], digits = true;
    }
    if (!digits) return out;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        const std::size_t firstDigit = j;
        while (j < s.size() && IsDigit(s[j]))
            exponent += s[j++];
        if (j > firstDigit) text += exponent, i = j;
    }
    out.value = std::strtod(text.c_str(), nullptr);
    out.used = i;
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

template <typename Int> std::optional<Int> RoundedIfFits(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

template <typename Int> Int RoundToInteger(double value) {
    const auto rounded = RoundedIfFits<Int>(value);
    if (!rounded) throw Overflow();
    return *rounded;
}

double ParseOrMismatch(std::string_view text) {
    const auto v = ParseNumber(text);
    if (!v) throw TypeMismatch();
    return *v;
}

} // namespace

double ReadNumber(std::string_view text) {
    std::string packed;
    packed.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') packed += c;
    return ScanNumber(packed).value;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    const Scan scan = ScanNumber(text);
    if (scan.used == 0 || scan.used != text.size()) return std::nullopt;
    return scan.value;
}

double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<std::int16_t> TryToInt16(double value) {
    return RoundedIfFits<std::int16_t>(value);
}

std::int16_t ToInt16(double value) {
    return RoundToInteger<std::int16_t>(value);
}
std::int32_t ToInt32(double value) {
    return RoundToInteger<std::int32_t>(value);
}
std::int16_t ToInt16(std::string_view text) {
    return ToInt16(ParseOrMismatch(text));
}
std::int32_t ToInt32(std::string_view text) {
    return ToInt32(ParseOrMismatch(text));
}

} // namespace orv
