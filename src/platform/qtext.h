// SPDX-License-Identifier: MIT
#pragma once
// Text between Qt and the Qt-free core (UTF-16 both sides).

#include <QString>

#include <string>
#include <string_view>

namespace taiju::platform {

inline std::u16string u16(const QString& s) {
    return s.toStdU16String();
}
inline QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace taiju::platform
