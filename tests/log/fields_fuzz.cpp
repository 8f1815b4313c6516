// SPDX-License-Identifier: MIT
// The field reader on arbitrary text: it ends, moves forward with every
// field, never gives an unquoted field a separator, and reads back fields
// written one per line or comma-separated.

#include "log/fields.h"
#include "support/fuzz.h"

#include <string>
#include <vector>

using taiju::fuzz::require;

namespace {

bool separator(char16_t c) {
    return c == u',' || c == u'\r' || c == u'\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    taiju::fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    const std::u16string text = in.restAsUtf16();

    // Any text.
    taiju::FieldReader reader(text);
    std::size_t fields = 0, last = 0;
    while (auto field = reader.next()) {
        require(++fields <= text.size() + 1);
        require(reader.position() > last && reader.position() <= text.size());
        std::size_t start = last;
        while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
            ++start;
        const bool quoted = start < text.size() && text[start] == u'"';
        last = reader.position();
        require(field->size() <= text.size());
        for (char16_t c : *field)
            require(quoted ? c != u'"' : !separator(c));
    }
    require(reader.position() == text.size());

    // Values without separators, quotes, or blanks at their ends, written
    // comma- or line-separated, come back as they were; so do values with
    // commas and line ends when quoted.
    std::vector<std::u16string> values(1);
    for (char16_t c : text) {
        if (c == u'"' || ((mode & 1) == 0 && separator(c)))
            values.emplace_back();
        else
            values.back().push_back(c);
    }
    std::u16string written;
    for (auto& v : values) {
        while (!v.empty() && (v.front() == u' ' || v.front() == u'\t'))
            v.erase(0, 1);
        while (!v.empty() && (v.back() == u' ' || v.back() == u'\t'))
            v.pop_back();
        if (mode & 1)
            written += u'"' + v + u'"';
        else
            written += v;
        written += (mode & 2) ? u"," : u"\r\n";
    }
    taiju::FieldReader back(written);
    for (const auto& v : values) {
        auto field = back.next();
        require(field && *field == v);
    }
    require(!back.next());
    return 0;
}
