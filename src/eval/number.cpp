#include "eval/number.h"

#include <charconv>
#include <cstdlib>
#include <limits>
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

} // namespace

double leadingNumber(std::u16string_view text) {
    Scanner in(text);
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.advance();
    }
    std::string mantissa;
    bool anyDigit = false;
    bool point = false;
    long long significantBeforePoint = 0; // digits of the integer part after leading zeros
    long long zerosAfterPoint = 0;        // of a number below 1, before its first other digit
    bool fractionDigit = false;           // a digit other than 0 seen after the point
    while (!in.atEnd()) {
        char16_t c = in.peek();
        if (digit(c)) {
            anyDigit = true;
            if (!point && (significantBeforePoint > 0 || c != u'0'))
                ++significantBeforePoint;
            else if (point && significantBeforePoint == 0 && !fractionDigit) {
                if (c == u'0')
                    ++zerosAfterPoint;
                else
                    fractionDigit = true;
            }
            mantissa.push_back(static_cast<char>(c));
        } else if (c == u'.' && !point) {
            point = true;
            mantissa.push_back('.');
        } else {
            break;
        }
        in.advance();
    }
    if (!anyDigit)
        return 0.0;

    std::string exponent;
    if (in.peek() == u'e' || in.peek() == u'E') {
        std::size_t mark = in.position();
        in.advance();
        std::string candidate = "e";
        if (in.peek() == u'+' || in.peek() == u'-') {
            candidate.push_back(static_cast<char>(in.peek()));
            in.advance();
        }
        bool expDigit = false;
        while (digit(in.peek())) {
            expDigit = true;
            candidate.push_back(static_cast<char>(in.peek()));
            in.advance();
        }
        if (expDigit)
            exponent = candidate;
        else
            in.rewind(mark);
    }

    std::string number = mantissa + exponent;
    double value = 0.0;
    auto [end, err] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (err == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude.
        long long exp = 0;
        if (!exponent.empty()) {
            // Saturate absurdly long exponents instead of overflowing.
            const char* p = exponent.c_str() + 1;
            bool expNegative = *p == '-';
            if (*p == '-' || *p == '+')
                ++p;
            for (; *p; ++p) {
                exp = exp * 10 + (*p - '0');
                if (exp > 1'000'000'000LL)
                    break;
            }
            if (expNegative)
                exp = -exp;
        }
        // The value is about 10^(magnitude + exp), magnitude counting the
        // integer digits or, below 1, the zeros after the point negatively.
        const long long magnitude =
            significantBeforePoint > 0 ? significantBeforePoint : -zerosAfterPoint;
        bool huge = magnitude + exp > 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace taiju
