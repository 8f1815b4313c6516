#include "view/csv.h"

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

void appendCsvField(std::string& out, std::u16string_view field) {
    if (field.find_first_of(u",\"\r\n") == std::u16string_view::npos) {
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

bool writeCsv(const std::vector<std::u16string>& names, const LogRecords& records,
              bool byteOrderMark, const std::function<bool(std::string_view)>& write) {
    constexpr std::size_t kPiece = 64 * 1024;
    std::string out = byteOrderMark ? "\xEF\xBB\xBF" : "";
    out.reserve(kPiece + 4096);
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (i > 1)
            out.push_back(',');
        appendCsvField(out, names[i]);
    }
    out += "\r\n";
    for (std::size_t r = 0; r < records.size(); ++r) {
        for (std::size_t i = 1; i < records.columnCount(); ++i) {
            if (i > 1)
                out.push_back(',');
            appendCsvField(out, records.text(r, i));
        }
        out += "\r\n";
        if (out.size() >= kPiece) {
            if (!write(out))
                return false;
            out.clear();
        }
    }
    return write(out);
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
