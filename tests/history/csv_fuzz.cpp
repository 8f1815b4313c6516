// SPDX-License-Identifier: MIT
// Feeds arbitrary text, two bytes a character, to the CSV fields of both
// forms. Checks: the spreadsheet form is the exact form with a ' before the
// text exactly when the text reads as a formula; a text kept without it
// never begins with =, @, TAB or CR, and one beginning with a sign holds
// nothing but the characters of a number. Breaks of these promises abort.

#include "history/csv.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool promise) {
    if (!promise)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string field;
    for (size_t i = 0; i + 1 < size; i += 2)
        field.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    using namespace taiju::view;
    std::string exact, sheet;
    appendCsvField(exact, field, CsvForm::Exact);
    appendCsvField(sheet, field, CsvForm::Spreadsheet);
    const bool formula = readsAsFormula(field);
    const std::size_t tick = !exact.empty() && exact.front() == '"' ? 1 : 0;
    if (formula) {
        require(sheet.size() == exact.size() + 1 && sheet[tick] == '\'');
        require(sheet.substr(0, tick) + sheet.substr(tick + 1) == exact);
    } else {
        require(sheet == exact);
    }
    if (!formula && !field.empty()) {
        const char16_t c = field.front();
        require(c != u'=' && c != u'@' && c != u'\t' && c != u'\r');
        if (c == u'+' || c == u'-')
            for (const char16_t d : field)
                require((d >= u'0' && d <= u'9') || d == u'.' || d == u'e' || d == u'E' ||
                        d == u'+' || d == u'-');
    }
    return 0;
}
