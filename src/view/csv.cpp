#include "view/csv.h"

#include <utility>

namespace taiju::view {

void appendUtf8(std::string& out, std::u16string_view text) {
    const std::size_t start = out.size();
    out.resize(start + 3 * text.size()); // a UTF-16 unit takes at most 3 bytes
    char* p = out.data() + start;
    auto put = [&p](char32_t byte) { *p++ = static_cast<char>(byte); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
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
    out.resize(static_cast<std::size_t>(p - out.data()));
}

namespace {

// Whether a field must be quoted: it holds a comma, a double quote, CR or LF.
bool needsQuotes(std::u16string_view field) {
    for (const char16_t c : field)
        if (c <= u',' && (c == u',' || c == u'"' || c == u'\r' || c == u'\n'))
            return true;
    return false;
}

constexpr std::size_t kPiece = 64 * 1024;

} // namespace

void appendCsvField(std::string& out, std::u16string_view field) {
    if (!needsQuotes(field)) {
        appendUtf8(out, field);
        return;
    }
    out.push_back('"');
    for (std::size_t quote; (quote = field.find(u'"')) != std::u16string_view::npos;) {
        appendUtf8(out, field.substr(0, quote + 1));
        out.push_back('"');
        field.remove_prefix(quote + 1);
    }
    appendUtf8(out, field);
    out.push_back('"');
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
    for (std::size_t r = 0; r < count && !failed_; ++r) {
        for (std::size_t i = 1; i < records.columnCount(); ++i) {
            if (i > 1)
                out_.push_back(',');
            appendCsvField(out_, records.text(r, i));
        }
        out_ += "\r\n";
        if (out_.size() >= kPiece)
            handOn();
    }
    return !failed_;
}

bool CsvWriter::finish() {
    return handOn();
}

bool writeCsv(const std::vector<std::u16string>& names, const LogRecords& records,
              bool byteOrderMark, const std::function<bool(std::string_view)>& write) {
    CsvWriter csv(write);
    csv.header(names, byteOrderMark);
    csv.records(records, records.size());
    return csv.finish();
}

std::string csvText(const std::vector<std::u16string>& names, const LogRecords& records,
                    bool byteOrderMark) {
    std::string text;
    writeCsv(names, records, byteOrderMark, [&](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace taiju::view
