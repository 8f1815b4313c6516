// SPDX-License-Identifier: MIT
#pragma once
// Logs for the viewer's window tests: records as the save button writes them
// under the template's columns.

#include "log/itemfile.h"
#include "log/record.h"
#include "text/encoding.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>
#include <variant>

namespace taiju::testing {

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The template item file of the source tree.
inline const QByteArray& templateItemFile() {
    static const QByteArray bytes =
        readBytes(QStringLiteral(TAIJU_SOURCE_DIR "/resources/k体重変化.___"));
    return bytes;
}

// One record of the boxes, height 1.65 m and its standard weight and
// obesity degree as given.
inline QByteArray record(const char16_t* weight, const char16_t* bmi, const char16_t* date,
                         const char16_t* comment) {
    ItemDeclarations decl;
    const QByteArray& t = templateItemFile();
    readItemFile(
        platform::decodeCp932(std::string(t.constData(), static_cast<std::size_t>(t.size()))), 10,
        decl);
    const RecordBoxes boxes{weight, u"1.65", u"59.895", u"9.358", bmi, date, comment};
    const auto bytes = std::get<std::string>(composeRecord(boxes, decl, platform::Cp932Encoder()));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace taiju::testing
