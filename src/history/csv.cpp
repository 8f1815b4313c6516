// SPDX-License-Identifier: MIT
#include "history/csv.h"

#include <utility>

namespace taiju::view {

namespace {

// Writes `text` in UTF-8 at `p`, where there is room for 3 bytes a unit,
// and returns the end; a lone surrogate becomes U+FFFD. With `Doubled`, a
// double quote is written twice (two bytes for a unit that may take three).
template <bool Doubled> char* putUtf8(char* p, std::u16string_view text) {
    auto put = [&p](char32_t byte) { *p++ = static_cast<char>(byte); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            put(c);
            if (Doubled && c == u'"')
                put(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const bool pair = c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                              text[i + 1] <= 0xDFFF;
            c = pair ? 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00) : 0xFFFD;
        }
        if (c < 0x800) {
            put(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
        } else { // four bytes for the two units of a pair
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
        }
        put(0x80 | (c & 0x3F));
    }
    return p;
}

// Whether a field must be quoted: it holds a comma, a double quote, CR or LF.
bool needsQuotes(std::u16string_view field) {
    for (const char16_t c : field)
        if (c <= u',' && (c == u',' || c == u'"' || c == u'\r' || c == u'\n'))
            return true;
    return false;
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Skips the digits at `i`; whether there was one.
bool skipDigits(std::u16string_view s, std::size_t& i) {
    const std::size_t start = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i > start;
}

// A decimal number and nothing else: a sign, digits with a point among or
// before them, an exponent.
bool isNumber(std::u16string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    bool digits = skipDigits(s, i);
    if (i < s.size() && s[i] == u'.') {
        ++i;
        digits = skipDigits(s, i) || digits;
    }
    if (!digits)
        return false;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        if (!skipDigits(s, i))
            return false;
    }
    return i == s.size();
}

// Writes one field at `p`, where there is room for 3 bytes a unit and 3 more,
// and returns the end.
char* putField(char* p, std::u16string_view field, CsvForm form) {
    const bool quoted = needsQuotes(field);
    if (quoted)
        *p++ = '"';
    if (form == CsvForm::Spreadsheet && readsAsFormula(field))
        *p++ = '\'';
    p = quoted ? putUtf8<true>(p, field) : putUtf8<false>(p, field);
    if (quoted)
        *p++ = '"';
    return p;
}

constexpr std::size_t kPiece = 64 * 1024;

} // namespace

bool readsAsFormula(std::u16string_view field) {
    if (field.empty())
        return false;
    switch (field.front()) {
    case u'=':
    case u'@':
    case u'\t':
    case u'\r':
        return true;
    case u'+':
    case u'-':
        return !isNumber(field);
    default:
        return false;
    }
}

void appendCsvField(std::string& out, std::u16string_view field, CsvForm form) {
    const std::size_t start = out.size();
    out.resize(start + 3 * field.size() + 3);
    out.resize(static_cast<std::size_t>(putField(out.data() + start, field, form) - out.data()));
}

CsvWriter::CsvWriter(CsvForm form, std::function<bool(std::string_view)> write)
    : form_(form), write_(std::move(write)) {
    out_.reserve(kPiece + 4096);
}

bool CsvWriter::handOn() {
    if (!failed_ && !write_(out_))
        failed_ = true;
    out_.clear();
    return !failed_;
}

bool CsvWriter::header(const std::vector<std::u16string>& names) {
    if (form_ == CsvForm::Spreadsheet)
        out_ += "\xEF\xBB\xBF";
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (i > 1)
            out_.push_back(',');
        appendCsvField(out_, names[i], form_);
    }
    out_ += "\r\n";
    return !failed_;
}

bool CsvWriter::records(const LogRecords& records, std::size_t count) {
    const std::size_t columns = records.columnCount();
    for (std::size_t r = 0; r < count && !failed_; ++r) {
        // Room for the whole line at once: 3 bytes a unit, the quotes, ' and
        // commas, CR LF.
        std::size_t room = 4 * columns + 2;
        for (std::size_t i = 1; i < columns; ++i)
            room += 3 * records.text(r, i).size();
        const std::size_t start = out_.size();
        out_.resize(start + room);
        char* p = out_.data() + start;
        for (std::size_t i = 1; i < columns; ++i) {
            if (i > 1)
                *p++ = ',';
            p = putField(p, records.text(r, i), form_);
        }
        *p++ = '\r';
        *p++ = '\n';
        out_.resize(static_cast<std::size_t>(p - out_.data()));
        if (out_.size() >= kPiece)
            handOn();
    }
    return !failed_;
}

bool CsvWriter::finish() {
    return handOn();
}

std::string csvText(const std::vector<std::u16string>& names, const LogRecords& records,
                    CsvForm form) {
    std::string text;
    CsvWriter csv(form, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    csv.header(names);
    csv.records(records, records.size());
    csv.finish();
    return text;
}

} // namespace taiju::view
