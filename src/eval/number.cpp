// SPDX-License-Identifier: MIT
#include "eval/number.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace taiju {
namespace {

bool ignorable(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Walks the text, skipping the ignorable characters, one character at a time.
class Scanner {
  public:
    explicit Scanner(std::u16string_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : text_[pos_]; }
    void advance() {
        ++pos_;
        skip();
    }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

  private:
    void skip() {
        while (pos_ < text_.size() && ignorable(text_[pos_]))
            ++pos_;
    }
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

// An optional sign: true for "-".
bool readSign(Scanner& in) {
    const char16_t c = in.peek();
    if (c != u'+' && c != u'-')
        return false;
    in.advance();
    return c == u'-';
}

// The digits with at most one "." at the start of a number, and how large
// they are in decimal: the range step needs that when the double cannot hold
// the number.
struct Mantissa {
    std::string text;
    long long significantBeforePoint = 0; // digits of the integer part after leading zeros
    long long zerosAfterPoint = 0;        // of a number below 1, before its first other digit
};

// The mantissa, or nothing when it holds no digit.
std::optional<Mantissa> readMantissa(Scanner& in) {
    Mantissa m;
    bool anyDigit = false;
    bool point = false;
    bool fractionDigit = false; // a digit other than 0 seen after the point
    while (!in.atEnd()) {
        const char16_t c = in.peek();
        if (digit(c)) {
            anyDigit = true;
            if (!point && (m.significantBeforePoint > 0 || c != u'0'))
                ++m.significantBeforePoint;
            else if (point && m.significantBeforePoint == 0 && !fractionDigit) {
                if (c == u'0')
                    ++m.zerosAfterPoint;
                else
                    fractionDigit = true;
            }
            m.text.push_back(static_cast<char>(c));
        } else if (c == u'.' && !point) {
            point = true;
            m.text.push_back('.');
        } else {
            break;
        }
        in.advance();
    }
    if (!anyDigit)
        return std::nullopt;
    return m;
}

// The exponent ("e", an optional sign, digits) after the mantissa; empty,
// with the scanner where it stood, when no digit follows the E.
std::string readExponent(Scanner& in) {
    if (in.peek() != u'e' && in.peek() != u'E')
        return {};
    const std::size_t mark = in.position();
    in.advance();
    std::string exponent = "e";
    if (in.peek() == u'+' || in.peek() == u'-') {
        exponent.push_back(static_cast<char>(in.peek()));
        in.advance();
    }
    bool expDigit = false;
    while (digit(in.peek())) {
        expDigit = true;
        exponent.push_back(static_cast<char>(in.peek()));
        in.advance();
    }
    if (expDigit)
        return exponent;
    in.rewind(mark);
    return {};
}

// The value of the exponent read by readExponent, 0 when there is none;
// absurdly long exponents saturate instead of overflowing.
long long exponentValue(const std::string& exponent) {
    if (exponent.empty())
        return 0;
    const char* p = exponent.c_str() + 1;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long long exp = 0;
    for (; *p; ++p) {
        exp = exp * 10 + (*p - '0');
        if (exp > 1'000'000'000LL)
            break;
    }
    return negative ? -exp : exp;
}

// A number beyond the range of a double: overflow or underflow, decided from
// its decimal magnitude. The value is about 10^(magnitude + exp), magnitude
// counting the integer digits or, below 1, the zeros after the point
// negatively.
double beyondRange(const Mantissa& m, const std::string& exponent) {
    const long long magnitude =
        m.significantBeforePoint > 0 ? m.significantBeforePoint : -m.zerosAfterPoint;
    const bool huge = magnitude + exponentValue(exponent) > 0;
    return huge ? std::numeric_limits<double>::infinity() : 0.0;
}

} // namespace

double leadingNumber(std::u16string_view text) {
    Scanner in(text);
    const bool negative = readSign(in);
    const auto mantissa = readMantissa(in);
    if (!mantissa)
        return 0.0;
    const std::string exponent = readExponent(in);
    const std::string number = mantissa->text + exponent;
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = beyondRange(*mantissa, exponent);
    return negative ? -value : value;
}

} // namespace taiju
