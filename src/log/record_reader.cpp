#include "log/record_reader.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace taiju {

std::optional<RecordLayout> recordLayout(const ItemDeclarations& decl) {
    if (!(decl.jcount >= 0 && decl.jcount < static_cast<double>(decl.jalign.size())) ||
        !(decl.jrecw >= 1 && decl.jrecw <= 1e6))
        return std::nullopt;
    RecordLayout layout;
    const auto items = static_cast<std::size_t>(decl.jcount) + 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < items; ++i) {
        const double w = wholeWidth(decl.jwidth[i]);
        if (!(w >= 0 && w <= 1e6))
            return std::nullopt;
        layout.columns.push_back({start, static_cast<std::size_t>(w)});
        start += static_cast<std::size_t>(w);
    }
    if (start > 0xFFFF)
        return std::nullopt;
    layout.lineLength = static_cast<std::size_t>(256 * std::floor(decl.jrecw)) - 2;
    return layout;
}

std::u16string_view LogRecords::text(std::size_t record, std::size_t item) const {
    const std::size_t k = record * columns_ + item;
    const std::size_t begin = item == 0 ? 0 : ends_[k - 1];
    return std::u16string_view(texts_).substr(starts_[record] + begin, ends_[k] - begin);
}

void LogRecords::dropLast() {
    if (lines_.back().irregular)
        --irregular_;
    lines_.pop_back();
    ends_.resize(ends_.size() - columns_);
    texts_.resize(starts_.back());
    starts_.pop_back();
}

void LogRecords::dropFirst(std::size_t count) {
    if (count == 0)
        return;
    for (std::size_t r = 0; r < count; ++r)
        if (lines_[r].irregular)
            --irregular_;
    const std::size_t kept = count < size() ? starts_[count] : texts_.size();
    texts_.erase(0, kept);
    starts_.erase(starts_.begin(), starts_.begin() + static_cast<std::ptrdiff_t>(count));
    for (std::size_t& start : starts_)
        start -= kept;
    ends_.erase(ends_.begin(), ends_.begin() + static_cast<std::ptrdiff_t>(count * columns_));
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
}

RecordReader::RecordReader(RecordLayout layout, const TextDecoder& decoder)
    : layout_(std::move(layout)), decoder_(&decoder), records_(layout_.columns.size()) {}

namespace {
std::string_view trimBlanks(std::string_view s) {
    std::size_t first = 0;
    std::size_t end = s.size();
    while (first < end && s[first] == ' ')
        ++first;
    while (end > first && s[end - 1] == ' ')
        --end;
    return s.substr(first, end - first);
}
} // namespace

void RecordReader::addRecord(std::string_view line) {
    LogRecords& r = records_;
    const std::size_t start = r.texts_.size();
    r.starts_.push_back(start);
    for (const ColumnCut& cut : layout_.columns) {
        if (cut.start < line.size()) {
            const std::string_view bytes = trimBlanks(line.substr(cut.start, cut.width));
            if (!bytes.empty())
                r.texts_ += decoder_->decode(bytes);
        }
        // A column of n bytes decodes to at most n characters, and the
        // layout's columns add up to at most 65535 bytes; a decoder that
        // gave more would be cut here.
        if (r.texts_.size() - start > 0xFFFF)
            r.texts_.resize(start + 0xFFFF);
        r.ends_.push_back(static_cast<std::uint16_t>(r.texts_.size() - start));
    }
    const bool irregular = line.size() != layout_.lineLength;
    r.lines_.push_back({nextLine_, line.size(), irregular});
    if (irregular)
        ++r.irregular_;
}

void RecordReader::reserve(std::size_t bytes) {
    LogRecords& r = records_;
    const std::size_t records = r.size() + bytes / (layout_.lineLength + 2) + 1;
    r.lines_.reserve(records);
    r.starts_.reserve(records);
    r.ends_.reserve(records * r.columns_);
    // The trimmed texts take far fewer characters than the line's bytes;
    // room that stays unused is never touched.
    r.texts_.reserve(r.texts_.size() + bytes / 2);
}

void RecordReader::append(std::string_view bytes) {
    bytesRead_ += bytes.size();
    if (!open_.empty()) {
        // The open line is read again with what follows it.
        records_.dropLast();
        std::size_t end = std::string_view::npos;
        std::size_t skip = 0;
        if (open_.back() == '\r' && !bytes.empty() && bytes.front() == '\n') {
            open_.pop_back();
            end = 0;
            skip = 1;
        } else if ((end = bytes.find("\r\n")) != std::string_view::npos) {
            skip = end + 2;
        }
        if (end == std::string_view::npos) {
            open_ += bytes;
            addRecord(open_);
            return;
        }
        open_ += bytes.substr(0, end);
        if (!open_.empty())
            addRecord(open_);
        ++nextLine_;
        open_.clear();
        bytes.remove_prefix(skip);
    }
    std::size_t pos = 0;
    for (std::size_t end; (end = bytes.find("\r\n", pos)) != std::string_view::npos;
         pos = end + 2) {
        if (end > pos)
            addRecord(bytes.substr(pos, end - pos));
        ++nextLine_;
    }
    open_.assign(bytes.substr(pos));
    if (!open_.empty())
        addRecord(open_);
}

} // namespace taiju
