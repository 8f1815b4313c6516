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

// Writes one field at `p`, where there is room for 3 bytes a unit and 2 more,
// and returns the end.
char* putField(char* p, std::u16string_view field) {
    if (!needsQuotes(field))
        return putUtf8<false>(p, field);
    *p++ = '"';
    p = putUtf8<true>(p, field);
    *p++ = '"';
    return p;
}

constexpr std::size_t kPiece = 64 * 1024;

} // namespace

void appendCsvField(std::string& out, std::u16string_view field) {
    const std::size_t start = out.size();
    out.resize(start + 3 * field.size() + 2);
    out.resize(static_cast<std::size_t>(putField(out.data() + start, field) - out.data()));
}

CsvWriter::CsvWriter(std::function<bool(std::string_view)> write) : write_(std::move(write)) {
    out_.reserve(kPiece + 4096);
}

bool CsvWriter::handOn() {
    if (!failed_ && !write_(out_))
        failed_ = true;
    out_.clear();
    return !failed_;
}

bool CsvWriter::header(const std::vector<std::u16string>& names, bool byteOrderMark) {
    if (byteOrderMark)
        out_ += "\xEF\xBB\xBF";
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (i > 1)
            out_.push_back(',');
        appendCsvField(out_, names[i]);
    }
    out_ += "\r\n";
    return !failed_;
}

bool CsvWriter::records(const LogRecords& records, std::size_t count) {
    const std::size_t columns = records.columnCount();
    for (std::size_t r = 0; r < count && !failed_; ++r) {
        // Room for the whole line at once: 3 bytes a unit, the quotes and
        // commas, CR LF.
        std::size_t room = 3 * columns + 2;
        for (std::size_t i = 1; i < columns; ++i)
            room += 3 * records.text(r, i).size();
        const std::size_t start = out_.size();
        out_.resize(start + room);
        char* p = out_.data() + start;
        for (std::size_t i = 1; i < columns; ++i) {
            if (i > 1)
                *p++ = ',';
            p = putField(p, records.text(r, i));
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
                    bool byteOrderMark) {
    std::string text;
    CsvWriter csv([&](std::string_view piece) {
        text += piece;
        return true;
    });
    csv.header(names, byteOrderMark);
    csv.records(records, records.size());
    csv.finish();
    return text;
}

} // namespace taiju::view
