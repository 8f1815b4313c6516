#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace taiju::platform;

namespace {

TEST(WinPath, ToNative) {
    struct {
        const char16_t* windows;
        std::optional<QString> native;
    } cases[] = {
        {u"Z:\\home\\ann\\体重変化.txt", QStringLiteral("/home/ann/体重変化.txt")},
        {u"z:\\", QStringLiteral("/")},
        {u"Z:\\", QStringLiteral("/")},
        {u"Z:\\tmp\\", QStringLiteral("/tmp/")},
        {u"Z:k体重変化.txt", QDir::currentPath() + QStringLiteral("/k体重変化.txt")},
        {u"C:\\x", std::nullopt},
        {u"c:\\x", std::nullopt},
        {u"\\\\server\\x", std::nullopt},
        {u"data\\x", std::nullopt},
        {u"Z", std::nullopt},
        {u"", std::nullopt},
    };
    for (const auto& c : cases) {
        auto got = toNative(c.windows);
        EXPECT_EQ(got.has_value(), c.native.has_value()) << qs(c.windows).toStdString();
        if (got && c.native) {
            EXPECT_EQ(got->toStdString(), c.native->toStdString());
        }
    }
}

TEST(WinPath, ToWindows) {
    struct {
        QString native;
        std::optional<std::u16string> windows;
    } cases[] = {
        {QStringLiteral("/"), u"Z:\\"},
        {QStringLiteral("/opt/taiju"), u"Z:\\opt\\taiju"},
        {QStringLiteral("/opt/taiju/"), u"Z:\\opt\\taiju"},
        {QStringLiteral("/home/ann/体重変化.txt"), u"Z:\\home\\ann\\体重変化.txt"},
        {QStringLiteral("opt/taiju"), std::nullopt},
        {QString(), std::nullopt},
        {QStringLiteral("/tmp/a\\b"), std::nullopt},
    };
    for (const auto& c : cases) {
        auto got = toWindows(c.native);
        EXPECT_EQ(got.has_value(), c.windows.has_value()) << c.native.toStdString();
        if (got && c.windows) {
            EXPECT_EQ(qs(*got).toStdString(), qs(*c.windows).toStdString());
        }
    }
}

TEST(WinPath, RoundTrip) {
    for (const char* native : {"/", "/opt/taiju", "/home/ann/体重 変化.txt"}) {
        const QString path = QString::fromUtf8(native);
        auto windows = toWindows(path);
        ASSERT_TRUE(windows.has_value()) << native;
        auto back = toNative(*windows);
        ASSERT_TRUE(back.has_value()) << native;
        EXPECT_EQ(back->toStdString(), native);
    }
}

} // namespace
