// SPDX-License-Identifier: MIT
#pragma once
// The log as comma-separated values (RFC 4180) in UTF-8: exact, for scripts,
// or for spreadsheets.

#include "log/record_reader.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju::view {

enum class CsvForm {
    Exact,       // every text as it is
    Spreadsheet, // with a byte order mark, and no text read as a formula
};

// Whether a spreadsheet reads `field` as a formula: it begins with =, +, -,
// @, TAB or CR and is no decimal number such as -2.5 or +1e3.
bool readsAsFormula(std::u16string_view field);

// Appends one field: quoted with double quotes when it holds a comma, a
// double quote, CR or LF, a double quote inside doubled. In the spreadsheet
// form a field read as a formula gets a ' in front, which spreadsheets take
// as "text" and do not show.
void appendCsvField(std::string& out, std::u16string_view field, CsvForm form = CsvForm::Exact);

// CSV text handed to `write` in pieces of about 64 KiB, so that a long log
// needs no text of its whole size; once `write` fails, nothing more is
// handed on. Every line ends with CR LF.
class CsvWriter {
  public:
    CsvWriter(CsvForm form, std::function<bool(std::string_view)> write);

    // The header line: the names of items 1 to jcount (`names` holds items 0
    // to jcount; item 0, the writer's blank column, has no CSV column). In
    // the spreadsheet form the text opens with EF BB BF.
    bool header(const std::vector<std::u16string>& names);
    // One line for each of the first `count` records, with the texts of the
    // same items.
    bool records(const LogRecords& records, std::size_t count);
    // Hands on the rest of the text. False when any write failed.
    bool finish();

  private:
    bool handOn();

    CsvForm form_;
    std::function<bool(std::string_view)> write_;
    std::string out_;
    bool failed_ = false;
};

// The header line, then one line per record (see CsvWriter), in one piece.
std::string csvText(const std::vector<std::u16string>& names, const LogRecords& records,
                    CsvForm form);

} // namespace taiju::view
