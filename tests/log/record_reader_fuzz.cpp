// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes as a log to the record reader, under columns taken
// from the input's first bytes, in one piece and in three. Checks against a
// plain cut of each line: every record has one text per declared item, each
// text is the trimmed bytes of its column inside its own line, a record is
// irregular exactly when its line's length differs from the record length,
// and the pieces change nothing. Breaks of these promises abort.

#include "log/record_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

// Each byte as the character of the same number, so texts compare to bytes.
class ByteDecoder : public taiju::TextDecoder {
  public:
    std::u16string decode(std::string_view bytes) const override {
        return std::u16string(bytes.begin(), bytes.end());
    }
};

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

struct Line {
    std::size_t number;
    std::string_view bytes;
};

// The non-empty lines of the log split at CR LF, the last one too.
std::vector<Line> linesOf(std::string_view log) {
    std::vector<Line> lines;
    std::size_t number = 1, pos = 0;
    for (std::size_t end; (end = log.find("\r\n", pos)) != std::string_view::npos; pos = end + 2) {
        if (end > pos)
            lines.push_back({number, log.substr(pos, end - pos)});
        ++number;
    }
    if (pos < log.size())
        lines.push_back({number, log.substr(pos)});
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    // Byte 0: the number of items (1 to 12) and jrecw (1 to 3); then one byte
    // per item, its width in halves (so 7.5 and -1 occur); a split point.
    const std::size_t items = data[0] % 12 + 1;
    if (size < 2 + items)
        return 0;
    taiju::ItemDeclarations decl;
    decl.jcount = static_cast<double>(items - 1);
    decl.jrecw = 1 + data[0] / 12 % 3;
    for (std::size_t i = 0; i < items; ++i)
        decl.jwidth[i] = (static_cast<int>(data[1 + i]) - 2) / 2.0;
    const std::size_t split = data[1 + items];
    const std::string_view log(reinterpret_cast<const char*>(data) + 2 + items, size - 2 - items);

    const auto layout = taiju::recordLayout(decl);
    if (!layout)
        return 0;
    require(layout->columns.size() == items);

    const ByteDecoder decoder;
    taiju::RecordReader whole(*layout, decoder);
    whole.append(log);
    taiju::RecordReader pieces(*layout, decoder);
    const std::size_t a = std::min(split, log.size());
    const std::size_t b = std::min(a + split / 2 + 1, log.size());
    pieces.append(log.substr(0, a));
    pieces.append(log.substr(a, b - a));
    pieces.append(log.substr(b));
    require(whole.bytesRead() == log.size() && pieces.bytesRead() == log.size());

    const std::vector<Line> lines = linesOf(log);
    for (const taiju::RecordReader* reader : {&whole, &pieces}) {
        const taiju::LogRecords& r = reader->records();
        require(r.size() == lines.size());
        require(r.columnCount() == items);
        std::size_t irregular = 0;
        for (std::size_t k = 0; k < r.size(); ++k) {
            const Line& line = lines[k];
            require(r.line(k).line == line.number);
            require(r.line(k).length == line.bytes.size());
            require(r.line(k).irregular == (line.bytes.size() != layout->lineLength));
            irregular += r.line(k).irregular;
            for (std::size_t i = 0; i < items; ++i) {
                const taiju::ColumnCut cut = layout->columns[i];
                const std::string_view column = cut.start < line.bytes.size()
                                                    ? line.bytes.substr(cut.start, cut.width)
                                                    : std::string_view();
                const std::string_view expected = trimmed(column);
                require(r.text(k, i) == std::u16string(expected.begin(), expected.end()));
            }
        }
        require(r.irregularCount() == irregular);
    }
    return 0;
}
