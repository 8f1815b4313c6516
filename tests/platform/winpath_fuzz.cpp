// SPDX-License-Identifier: MIT
// The mapping between Windows-form paths and native paths: a native absolute
// path comes back from its Windows form, and a Windows path on drive Z: from
// its native form, each without a final separator (the root aside).

#include "platform/winpath.h"
#include "support/fuzz.h"

#include <QString>

#include <string>

using taiju::fuzz::require;

namespace {

QString withoutFinal(QString path, QChar separator, int root) {
    while (path.size() > root && path.endsWith(separator))
        path.chop(1);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using taiju::platform::toNative;
    using taiju::platform::toWindows;
    taiju::fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    const std::u16string rest = in.restAsUtf16();

    // Native: "/" and the rest.
    const QString native = QStringLiteral("/") + QString::fromStdU16String(rest);
    const auto windows = toWindows(native);
    require(windows.has_value() == !native.contains(QLatin1Char('\\')));
    if (windows) {
        require(windows->substr(0, 3) == u"Z:\\");
        const auto back = toNative(*windows);
        if (rest.find(u'\0') == std::u16string::npos)
            require(back && *back == withoutFinal(native, QLatin1Char('/'), 1));
        else
            require(!back); // a NUL names no file
    }

    // Windows: a drive, ":", "\" and the rest; only Z: (either case) is here.
    const char16_t drive = mode & 1 ? u'Z' : mode & 2 ? u'z' : u'C';
    const std::u16string path = std::u16string{drive, u':', u'\\'} + rest;
    const auto there = toNative(path);
    require(there.has_value() == (drive != u'C' && rest.find(u'\0') == std::u16string::npos));
    if (there) {
        const auto again = toWindows(*there);
        // "/" is a separator in the Windows form too.
        QString expected = QString::fromStdU16String(path);
        expected[0] = QLatin1Char('Z');
        expected.replace(QLatin1Char('/'), QLatin1Char('\\'));
        require(again &&
                QString::fromStdU16String(*again) == withoutFinal(expected, QLatin1Char('\\'), 3));
    }
    return 0;
}
