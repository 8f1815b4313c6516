#pragma once
// The log as comma-separated values (RFC 4180) in UTF-8, for spreadsheets.

#include "log/record_reader.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju::view {

// Appends one field: quoted with double quotes when it holds a comma, a
// double quote, CR or LF, a double quote inside doubled.
void appendCsvField(std::string& out, std::u16string_view field);

// CSV text handed to `write` in pieces of about 64 KiB, so that a long log
// needs no text of its whole size; once `write` fails, nothing more is
// handed on. Every line ends with CR LF.
class CsvWriter {
  public:
    explicit CsvWriter(std::function<bool(std::string_view)> write);

    // The header line: the names of items 1 to jcount (`names` holds items 0
    // to jcount; item 0, the writer's blank column, has no CSV column). With
    // `byteOrderMark` the text opens with EF BB BF.
    bool header(const std::vector<std::u16string>& names, bool byteOrderMark);
    // One line for each of the first `count` records, with the texts of the
    // same items.
    bool records(const LogRecords& records, std::size_t count);
    // Hands on the rest of the text. False when any write failed.
    bool finish();

  private:
    bool handOn();

    std::function<bool(std::string_view)> write_;
    std::string out_;
    bool failed_ = false;
};

// The header line, then one line per record (see CsvWriter), in one piece.
std::string csvText(const std::vector<std::u16string>& names, const LogRecords& records,
                    bool byteOrderMark);

} // namespace taiju::view
