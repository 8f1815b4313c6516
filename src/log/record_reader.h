// SPDX-License-Identifier: MIT
#pragma once
// Reading the log back: the records split at CR LF, cut into the columns
// that the item file declares, decoded from code page 932 and trimmed. The
// counterpart of composeRecord in record.h.

#include "log/item_decl.h"
#include "log/record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju {

// Where the column of one item lies in a line, in bytes from its start.
struct ColumnCut {
    std::size_t start;
    std::size_t width;
};

// How the declarations cut a line: the columns of items 0 to jcount, each
// starting where the ones before it end, and the length of a regular line
// without its CR LF (256 × jrecw − 2).
struct RecordLayout {
    std::vector<ColumnCut> columns;
    std::size_t lineLength = 0;
};

// The layout of declarations that readItemFile accepted, with the widths as
// the writer uses them (wholeWidth); nothing when a width is negative or not
// a number, which the writer refuses too, or when the columns add up to more
// than 65535 bytes (the reader accepts at most 2558).
std::optional<RecordLayout> recordLayout(const ItemDeclarations& decl);

// Where a record came from.
struct RecordLine {
    std::size_t line;   // 1-based number of its line in the log
    std::size_t length; // bytes of the line without its CR LF
    bool irregular;     // length is not the layout's line length
};

// The records read so far, in file order: the trimmed text of every column.
// They are packed tight, a record's texts beside a few numbers, in chunks of
// at most 512 KiB that are never copied once full, so that a log of any line
// shape takes little more memory than its bytes. Reading records in order costs a step each, any
// other record a few dozen; the last place read is kept for that, so one
// LogRecords is read by one thread at a time.
class LogRecords {
  public:
    // Records of `columns` items, regular when `lineLength` bytes long.
    LogRecords(std::size_t columns, std::size_t lineLength);
    LogRecords(LogRecords&&) noexcept;
    LogRecords& operator=(LogRecords&&) noexcept;
    ~LogRecords();

    std::size_t size() const { return count_; }
    // Items 0 to jcount.
    std::size_t columnCount() const { return columns_; }
    // The text of item `item` in record `record`, valid until records are
    // added or dropped.
    std::u16string_view text(std::size_t record, std::size_t item) const;
    RecordLine line(std::size_t record) const;
    std::size_t irregularCount() const { return irregular_; }

  private:
    friend class RecordReader;
    struct Place {
        std::size_t record;
        std::uint64_t pos;
        std::size_t line;
    };
    struct Packed {
        std::size_t skip; // empty lines between it and the record before
        std::size_t length;
        bool irregular;
        const char16_t* ends;
        std::size_t endCount;
        const char16_t* texts;
        std::size_t units; // of the whole record
    };

    // Adds the record of `line`: the ends of the texts of its first items
    // (counted from its first text; the items after them have none), and
    // the texts.
    void add(const RecordLine& line, std::u16string_view ends, std::u16string_view texts);
    void dropLast();
    void dropFirst(std::size_t count);
    Packed unpack(std::uint64_t pos) const;
    const Place& find(std::size_t record) const;
    const char16_t* at(std::uint64_t pos) const;

    std::size_t columns_;
    std::size_t lineLength_;
    std::size_t count_ = 0;
    std::size_t irregular_ = 0;
    std::vector<std::u16string> chunks_; // each grows up to its full size
    std::uint64_t end_ = 0;              // where the next record goes
    std::uint64_t lastPos_ = 0;          // where the last record begins
    std::size_t lastLine_ = 0;           // the line of the last record
    struct Block {
        std::uint64_t pos;
        std::size_t line;
    };
    std::vector<Block> blocks_; // every kBlock-th record's place
    mutable Place cursor_{};    // the record read last
    mutable Packed packed_{};   // and what it holds
    mutable bool cursorSet_ = false;
};

// Reads a log from its first byte on, in one piece or in the pieces in which
// it grows. Every non-empty line is a record, a last line without CR LF too;
// of a line longer than the longest record only the length and the bytes of
// the columns are kept;
// when more bytes follow, that open line is read again with them, so that it
// is neither shown twice nor torn. A column that lies wholly or partly beyond
// the end of a short line gets what is there; the bytes of each column are
// trimmed of blanks (0x20) and decoded once.
class RecordReader {
  public:
    // `decoder` must outlive the reader.
    RecordReader(RecordLayout layout, const TextDecoder& decoder);

    // Reads the next bytes of the log.
    void append(std::string_view bytes);

    const LogRecords& records() const { return records_; }
    // Bytes given to append so far.
    std::size_t bytesRead() const { return bytesRead_; }
    // Whether the last record is a line without CR LF.
    bool lastLineOpen() const { return openLength_ != 0; }
    // The records that more bytes cannot change: all but an open last line.
    std::size_t completeRecords() const { return records_.size() - (lastLineOpen() ? 1 : 0); }
    // Forgets the complete records, so that a long log can be passed on piece
    // by piece in little memory; an open last line stays, to be read again
    // with the bytes that follow. The lines go on being numbered from the
    // log's start.
    void forgetCompleteRecords() { records_.dropFirst(completeRecords()); }

  private:
    void addRecord(std::string_view line, std::size_t length);
    // Adds `bytes` to the open line, of which the first kKept are kept.
    void extendOpen(std::string_view bytes);

    RecordLayout layout_;
    const TextDecoder* decoder_;
    LogRecords records_;
    // The bytes of a line kept to be cut into columns: those of the columns
    // and of the longest record the tool writes; a longer line is irregular
    // all the same, and its length is counted.
    std::size_t kept_;
    std::string open_;           // the kept bytes after the last CR LF
    std::size_t openLength_ = 0; // the length of that open line
    bool openEndsInCr_ = false;  // it ends with CR, which a LF may follow
    std::u16string texts_;       // the texts of the record being added
    std::u16string ends_;
    std::size_t nextLine_ = 1;
    std::size_t bytesRead_ = 0;
};

} // namespace taiju
