// SPDX-License-Identifier: MIT
#include "log/record_reader.h"

#include "log/itemfile.h"

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

namespace {

// The records lie in chunks of kChunk units, none across two; the rest of a
// chunk that the next record does not fit is marked by kChunkEnd.
constexpr unsigned kChunkShift = 18;
constexpr std::uint64_t kChunk = std::uint64_t{1} << kChunkShift;
constexpr char16_t kChunkEnd = 0xFFFF;
// Every kBlock-th record's place is kept.
constexpr std::size_t kBlock = 32;

// A record's first unit: the number of its ends (bits 0 to 6, at most 101
// items), whether it is irregular (bit 7), and how many empty lines come
// before it (bits 8 to 15; kSkipFollows when that number follows). An
// irregular record's length follows it.
constexpr char16_t kIrregular = 0x80;
constexpr std::size_t kSkipFollows = 0xFF;
// A short irregular line right after the record before (a log of millions of
// such lines is the tightest case) has all of that in its first unit:
// kShort plus the number of its ends (below 15, so that the unit is never
// kChunkEnd) in bits 0 to 6, and its length (below kShortLength) in bits 7
// to 15.
constexpr std::size_t kShort = 0x70;
constexpr std::size_t kShortLength = 0x200;

// A number in units of 15 bits, the lowest first, bit 15 set when more follow.
std::size_t unitsOf(std::uint64_t n) {
    std::size_t units = 1;
    while (n >>= 15)
        ++units;
    return units;
}
char16_t* putNumber(char16_t* p, std::uint64_t n) {
    for (; n >= 0x8000; n >>= 15)
        *p++ = static_cast<char16_t>(0x8000 | (n & 0x7FFF));
    *p++ = static_cast<char16_t>(n);
    return p;
}
const char16_t* getNumber(const char16_t* p, std::size_t& n) {
    n = 0;
    for (unsigned shift = 0;; shift += 15) {
        const char16_t u = *p++;
        n |= static_cast<std::size_t>(u & 0x7FFF) << shift;
        if (!(u & 0x8000))
            return p;
    }
}

} // namespace

LogRecords::LogRecords(std::size_t columns, std::size_t lineLength)
    : columns_(columns), lineLength_(lineLength) {}
LogRecords::LogRecords(LogRecords&&) noexcept = default;
LogRecords& LogRecords::operator=(LogRecords&&) noexcept = default;
LogRecords::~LogRecords() = default;

const char16_t* LogRecords::at(std::uint64_t pos) const {
    return chunks_[static_cast<std::size_t>(pos >> kChunkShift)].data() + (pos & (kChunk - 1));
}

LogRecords::Packed LogRecords::unpack(std::uint64_t pos) const {
    const char16_t* const first = at(pos);
    const char16_t* p = first;
    const char16_t head = *p++;
    const auto low = static_cast<std::size_t>(head & 0x7F);
    Packed r{};
    if (low >= kShort) {
        r = {0, static_cast<std::size_t>(head >> 7), true, nullptr, low - kShort, nullptr, 0};
    } else {
        r = {static_cast<std::size_t>(head >> 8),
             lineLength_,
             (head & kIrregular) != 0,
             nullptr,
             low,
             nullptr,
             0};
        if (r.irregular)
            p = getNumber(p, r.length);
        if (r.skip == kSkipFollows)
            p = getNumber(p, r.skip);
    }
    r.ends = p;
    r.texts = p + r.endCount;
    r.units = static_cast<std::size_t>(r.texts - first) + (r.endCount ? r.ends[r.endCount - 1] : 0);
    return r;
}

const LogRecords::Place& LogRecords::find(std::size_t record) const {
    if (!cursorSet_ || cursor_.record > record || record - cursor_.record >= kBlock) {
        const Block& block = blocks_[record / kBlock];
        cursor_ = {record / kBlock * kBlock, block.pos, block.line};
        packed_ = unpack(cursor_.pos);
        cursorSet_ = true;
    }
    while (cursor_.record < record) {
        std::uint64_t next = cursor_.pos + packed_.units;
        if ((next & (kChunk - 1)) != 0 && *at(next) == kChunkEnd)
            next = (next | (kChunk - 1)) + 1;
        packed_ = unpack(next);
        cursor_.pos = next;
        cursor_.line += 1 + packed_.skip;
        ++cursor_.record;
    }
    return cursor_;
}

std::u16string_view LogRecords::text(std::size_t record, std::size_t item) const {
    find(record);
    const Packed& r = packed_;
    if (item >= r.endCount)
        return {};
    const std::size_t begin = item == 0 ? 0 : r.ends[item - 1];
    return {r.texts + begin, r.ends[item] - begin};
}

RecordLine LogRecords::line(std::size_t record) const {
    const Place& place = find(record);
    return {place.line, packed_.length, packed_.irregular};
}

void LogRecords::add(const RecordLine& line, std::u16string_view ends, std::u16string_view texts) {
    const std::size_t skip = count_ == 0 ? 0 : line.line - lastLine_ - 1;
    const bool isShort =
        line.irregular && skip == 0 && line.length < kShortLength && ends.size() < 0x7F - kShort;
    const std::size_t units = 1 + (line.irregular && !isShort ? unitsOf(line.length) : 0) +
                              (skip >= kSkipFollows ? unitsOf(skip) : 0) + ends.size() +
                              texts.size();
    const std::uint64_t offset = end_ & (kChunk - 1);
    if (offset != 0 && offset + units > kChunk) {
        chunks_.back().push_back(kChunkEnd);
        end_ = (end_ | (kChunk - 1)) + 1;
    }
    if ((end_ >> kChunkShift) == chunks_.size())
        chunks_.emplace_back().reserve(kChunk); // grown in place, never moved
    std::u16string& chunk = chunks_[static_cast<std::size_t>(end_ >> kChunkShift)];
    chunk.resize(static_cast<std::size_t>((end_ & (kChunk - 1)) + units));
    char16_t* p = chunk.data() + (end_ & (kChunk - 1));
    if (isShort) {
        *p++ = static_cast<char16_t>((kShort + ends.size()) | (line.length << 7));
    } else {
        *p++ = static_cast<char16_t>(ends.size() | (line.irregular ? kIrregular : 0) |
                                     (std::min(skip, kSkipFollows) << 8));
        if (line.irregular)
            p = putNumber(p, line.length);
    }
    if (skip >= kSkipFollows)
        p = putNumber(p, skip);
    p = std::copy(ends.begin(), ends.end(), p);
    std::copy(texts.begin(), texts.end(), p);
    if (count_ % kBlock == 0)
        blocks_.push_back({end_, line.line});
    lastPos_ = end_;
    lastLine_ = line.line;
    end_ += units;
    ++count_;
    irregular_ += line.irregular;
    cursorSet_ = false; // the chunk may have moved
}

void LogRecords::dropLast() {
    irregular_ -= unpack(lastPos_).irregular;
    end_ = lastPos_;
    chunks_[static_cast<std::size_t>(end_ >> kChunkShift)].resize(
        static_cast<std::size_t>(end_ & (kChunk - 1)));
    --count_;
    if (count_ % kBlock == 0)
        blocks_.pop_back();
    cursorSet_ = false;
    if (count_ != 0) {
        const Place& place = find(count_ - 1);
        lastPos_ = place.pos;
        lastLine_ = place.line;
    }
}

void LogRecords::dropFirst(std::size_t count) {
    if (count == 0)
        return;
    LogRecords kept(columns_, lineLength_);
    for (std::size_t record = count; record < count_; ++record) {
        const Place& place = find(record);
        const Packed& r = packed_;
        kept.add({place.line, r.length, r.irregular}, {r.ends, r.endCount},
                 {r.texts, r.endCount ? r.ends[r.endCount - 1] : std::size_t{0}});
    }
    // The first chunk's memory is used again, so that a log passed on piece
    // by piece does not take fresh memory for every piece.
    std::u16string reused = std::move(chunks_.front());
    *this = std::move(kept);
    reused.assign(chunks_.empty() ? std::u16string_view() : std::u16string_view(chunks_.front()));
    if (chunks_.empty())
        chunks_.push_back(std::move(reused));
    else
        chunks_.front().swap(reused);
}

RecordReader::RecordReader(RecordLayout layout, const TextDecoder& decoder)
    : layout_(std::move(layout)), decoder_(&decoder),
      records_(layout_.columns.size(), layout_.lineLength),
      kept_(std::max(layout_.columns.empty()
                         ? std::size_t{0}
                         : layout_.columns.back().start + layout_.columns.back().width,
                     static_cast<std::size_t>(256 * kMaxRecordUnits - 2))) {}

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

void RecordReader::addRecord(std::string_view line, std::size_t length) {
    texts_.clear();
    ends_.clear();
    std::size_t used = 0; // the items up to the last with a text
    for (const ColumnCut& cut : layout_.columns) {
        if (cut.start < line.size()) {
            const std::string_view bytes = trimBlanks(line.substr(cut.start, cut.width));
            if (!bytes.empty()) {
                texts_ += decoder_->decode(bytes);
                used = ends_.size() + 1;
            }
        }
        // A column of n bytes decodes to at most n characters, and the
        // layout's columns add up to at most 65535 bytes; a decoder that
        // gave more would be cut here.
        if (texts_.size() > 0xFFFF)
            texts_.resize(0xFFFF);
        ends_.push_back(static_cast<char16_t>(texts_.size()));
    }
    ends_.resize(used);
    texts_.resize(used ? ends_.back() : 0);
    records_.add({nextLine_, length, length != layout_.lineLength}, ends_, texts_);
}

void RecordReader::extendOpen(std::string_view bytes) {
    if (open_.size() < kept_)
        open_.append(bytes.substr(0, kept_ - open_.size()));
    openLength_ += bytes.size();
    if (!bytes.empty())
        openEndsInCr_ = bytes.back() == '\r';
}

void RecordReader::append(std::string_view bytes) {
    bytesRead_ += bytes.size();
    if (lastLineOpen()) {
        // The open line is read again with what follows it.
        records_.dropLast();
        std::size_t end = std::string_view::npos;
        std::size_t skip = 0;
        if (openEndsInCr_ && !bytes.empty() && bytes.front() == '\n') {
            --openLength_;
            if (open_.size() > openLength_)
                open_.pop_back();
            end = 0;
            skip = 1;
        } else if ((end = bytes.find("\r\n")) != std::string_view::npos) {
            skip = end + 2;
        }
        if (end == std::string_view::npos) {
            extendOpen(bytes);
            addRecord(open_, openLength_);
            return;
        }
        extendOpen(bytes.substr(0, end));
        if (openLength_ != 0)
            addRecord(open_, openLength_);
        ++nextLine_;
        bytes.remove_prefix(skip);
    }
    std::size_t pos = 0;
    for (std::size_t end; (end = bytes.find("\r\n", pos)) != std::string_view::npos;
         pos = end + 2) {
        if (end > pos)
            addRecord(bytes.substr(pos, std::min(end - pos, kept_)), end - pos);
        ++nextLine_;
    }
    open_.clear();
    openLength_ = 0;
    openEndsInCr_ = false;
    extendOpen(bytes.substr(pos));
    if (lastLineOpen())
        addRecord(open_, openLength_);
}

} // namespace taiju
