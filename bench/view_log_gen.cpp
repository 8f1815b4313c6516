// SPDX-License-Identifier: MIT
// Writes a log for the viewer benchmark: COUNT records composed by the save
// button's own composer under the template's columns, a day apart from
// 01-01-1900 07:30:00, with the template beside it as the log's item file.
//
//   view-log-gen TEMPLATE LOG COUNT

#include "eval/evaluation.h"
#include "log/itemfile.h"
#include "log/record.h"
#include "text/encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::u16string ascii(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// The stamp of day `n` after 01-01-1900, at 07:30:00, computed directly
// from the day count (the calendar arithmetic of <chrono>).
std::u16string stamp(long n) {
    using namespace std::chrono;
    const year_month_day date{sys_days{year{1900} / January / 1} + days{n}};
    return taiju::dateStamp(static_cast<int>(static_cast<unsigned>(date.month())),
                            static_cast<int>(static_cast<unsigned>(date.day())),
                            static_cast<int>(date.year()), 7, 30, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: view-log-gen TEMPLATE LOG COUNT\n");
        return 2;
    }
    QFile templ(QString::fromLocal8Bit(argv[1]));
    if (!templ.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "view-log-gen: cannot read %s\n", argv[1]);
        return 1;
    }
    const QByteArray templBytes = templ.readAll();
    taiju::ItemDeclarations decl;
    const auto text = taiju::platform::decodeCp932(
        std::string_view(templBytes.constData(), static_cast<std::size_t>(templBytes.size())));
    if (taiju::readItemFile(text, 10, decl) != taiju::ItemRead::Ok) {
        std::fprintf(stderr, "view-log-gen: %s is no item file\n", argv[1]);
        return 1;
    }

    const QString logPath = QString::fromLocal8Bit(argv[2]);
    const QFileInfo log(logPath);
    QFile item(log.dir().filePath(QStringLiteral("k") + log.fileName()));
    QFile out(logPath);
    if (!item.open(QIODevice::WriteOnly) || item.write(templBytes) != templBytes.size() ||
        !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "view-log-gen: cannot write beside %s\n", argv[2]);
        return 1;
    }
    const long count = std::atol(argv[3]);
    const char16_t* comments[] = {
        u"朝食前",      u"walk", u"散歩 30分", u"", u"ｼﾞｮｷﾞﾝｸﾞ 5km", u"体調良好、夜更かし",
        u"after dinner"};
    const taiju::platform::Cp932Encoder encoder;
    std::string chunk;
    for (long n = 0; n < count; ++n) {
        // A weight that wanders slowly and jitters from day to day.
        char weight[16];
        std::snprintf(weight, sizeof weight, "%.1f",
                      65 + 6 * std::sin(static_cast<double>(n) / 400) +
                          1.5 * std::sin(static_cast<double>(n) * 1.7));
        const auto r = std::get<taiju::Results>(taiju::evaluate(ascii(weight), u"1.65"));
        const taiju::RecordBoxes boxes{ascii(weight), u"1.65",  r.standardWeight, r.obesityDegree,
                                       r.bmi,         stamp(n), comments[n % 7]};
        chunk += std::get<std::string>(taiju::composeRecord(boxes, decl, encoder));
        if (chunk.size() > (1 << 20) || n + 1 == count) {
            if (out.write(chunk.data(), static_cast<qint64>(chunk.size())) !=
                static_cast<qint64>(chunk.size())) {
                std::fprintf(stderr, "view-log-gen: cannot write %s\n", argv[2]);
                return 1;
            }
            chunk.clear();
        }
    }
    return 0;
}
