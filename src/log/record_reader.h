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

// The records read so far, in file order: the trimmed text of every column,
// kept in one buffer.
class LogRecords {
  public:
    explicit LogRecords(std::size_t columns) : columns_(columns) {}

    std::size_t size() const { return lines_.size(); }
    // Items 0 to jcount.
    std::size_t columnCount() const { return columns_; }
    // The text of item `item` in record `record`.
    std::u16string_view text(std::size_t record, std::size_t item) const;
    const RecordLine& line(std::size_t record) const { return lines_[record]; }
    std::size_t irregularCount() const { return irregular_; }

  private:
    friend class RecordReader;
    void dropLast();
    void dropFirst(std::size_t count);

    std::size_t columns_;
    std::u16string texts_;
    std::vector<std::size_t> starts_; // where each record's texts begin in texts_
    // Where each column's text ends, counted from its record's start; the
    // texts of a record are at most as long as its declared columns.
    std::vector<std::uint16_t> ends_;
    std::vector<RecordLine> lines_;
    std::size_t irregular_ = 0;
};

// Reads a log from its first byte on, in one piece or in the pieces in which
// it grows. Every non-empty line is a record, a last line without CR LF too;
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
    // Makes room at once for the records of `bytes` more bytes of regular
    // lines, so that a long log is not copied as its records grow.
    void reserve(std::size_t bytes);

    const LogRecords& records() const { return records_; }
    // Bytes given to append so far.
    std::size_t bytesRead() const { return bytesRead_; }
    // Whether the last record is a line without CR LF.
    bool lastLineOpen() const { return !open_.empty(); }
    // The records that more bytes cannot change: all but an open last line.
    std::size_t completeRecords() const { return records_.size() - (lastLineOpen() ? 1 : 0); }
    // Forgets the complete records, so that a long log can be passed on piece
    // by piece in little memory; an open last line stays, to be read again
    // with the bytes that follow. The lines go on being numbered from the
    // log's start.
    void forgetCompleteRecords() { records_.dropFirst(completeRecords()); }

  private:
    void addRecord(std::string_view line);

    RecordLayout layout_;
    const TextDecoder* decoder_;
    LogRecords records_;
    std::string open_; // the bytes after the last CR LF
    std::size_t nextLine_ = 1;
    std::size_t bytesRead_ = 0;
};

} // namespace taiju
