// SPDX-License-Identifier: MIT
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace taiju::platform;

namespace {

TEST(WinPath, ToNative) {
    struct {
        const char* name;
        const char16_t* windows;
        std::optional<QString> native;
    } cases[] = {
        {"Z is the root", u"Z:\\home\\ann\\体重変化.txt", QStringLiteral("/home/ann/体重変化.txt")},
        {"lower-case z", u"z:\\", QStringLiteral("/")},
        {"root alone", u"Z:\\", QStringLiteral("/")},
        {"final backslash kept", u"Z:\\tmp\\", QStringLiteral("/tmp/")},
        {"current dir", u"Z:k体重変化.txt", QDir::currentPath() + QStringLiteral("/k体重変化.txt")},
        {"other drive", u"C:\\x", std::nullopt},
        {"other drive in lower case", u"c:\\x", std::nullopt},
        {"network path", u"\\\\server\\x", std::nullopt},
        {"relative path", u"data\\x", std::nullopt},
        {"drive letter alone", u"Z", std::nullopt},
        {"empty path", u"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto got = toNative(c.windows);
        EXPECT_EQ(got.has_value(), c.native.has_value());
        if (got && c.native) {
            EXPECT_EQ(got->toStdString(), c.native->toStdString());
        }
    }
}

TEST(WinPath, ToWindows) {
    struct {
        const char* name;
        QString native;
        std::optional<std::u16string> windows;
    } cases[] = {
        {"root", QStringLiteral("/"), u"Z:\\"},
        {"folder", QStringLiteral("/opt/taiju"), u"Z:\\opt\\taiju"},
        {"final slash dropped", QStringLiteral("/opt/taiju/"), u"Z:\\opt\\taiju"},
        {"Japanese name", QStringLiteral("/home/ann/体重変化.txt"), u"Z:\\home\\ann\\体重変化.txt"},
        {"relative path", QStringLiteral("opt/taiju"), std::nullopt},
        {"null path", QString(), std::nullopt},
        {"backslash in a name", QStringLiteral("/tmp/a\\b"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto got = toWindows(c.native);
        EXPECT_EQ(got.has_value(), c.windows.has_value());
        if (got && c.windows) {
            EXPECT_EQ(qs(*got).toStdString(), qs(*c.windows).toStdString());
        }
    }
}

TEST(WinPath, RoundTrip) {
    struct {
        const char* name;
        const char* native;
    } cases[] = {
        {"root", "/"},
        {"folder", "/opt/taiju"},
        {"file name with a blank", "/home/ann/体重 変化.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = QString::fromUtf8(c.native);
        auto windows = toWindows(path);
        ASSERT_TRUE(windows.has_value());
        auto back = toNative(*windows);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->toStdString(), c.native);
    }
}

} // namespace
