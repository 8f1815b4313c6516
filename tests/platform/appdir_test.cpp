// SPDX-License-Identifier: MIT
#include "platform/appdir.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace taiju::platform;

namespace {

TEST(AppDir, WhichFolderServes) {
    const QString program = QStringLiteral("/opt/taiju");
    const QString home = QStringLiteral("/home/ann");
    const QString fallback = QStringLiteral("/home/ann/.local/share/taiju-check");
    struct {
        const char* name;
        bool writable;
        QString xdgDataHome;
        QString home;
        QString expected;
    } cases[] = {
        {"writable program folder used as before", true, "/data", home, program},
        {"not writable, XDG_DATA_HOME unset", false, "", home, fallback},
        {"not writable, XDG_DATA_HOME absolute", false, "/data", home, "/data/taiju-check"},
        {"XDG_DATA_HOME with a final slash", false, "/data/", home, "/data/taiju-check"},
        {"relative XDG_DATA_HOME ignored", false, "data", home, fallback},
        {"dot-relative XDG_DATA_HOME ignored", false, "./data", home, fallback},
        {"home with a final slash", false, "", "/home/ann/", fallback},
        {"Japanese home", false, "", "/home/花子", "/home/花子/.local/share/taiju-check"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(applicationFolder(program, c.writable, c.xdgDataHome, c.home).toStdString(),
                  c.expected.toStdString());
    }
}

TEST(AppDir, FolderWritableAsTheSystemSaysWithoutWriting) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString readOnly = dir.filePath(QStringLiteral("読み取り専用"));
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    struct {
        const char* name;
        QString folder;
        bool expected;
        bool asRootToo; // root may write into any folder of a writable mount
    } cases[] = {
        {"own folder", dir.path(), true, true},
        {"missing folder", dir.filePath(QStringLiteral("missing")), false, true},
        {"no folder at all", QString(), false, true},
        {"folder without write permission", readOnly, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.asRootToo && ::geteuid() == 0)
            continue;
        EXPECT_EQ(folderWritable(c.folder), c.expected);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("読み取り専用")});
}

TEST(AppDir, ProvisionDataFolder) {
    const QByteArray templ("100  ' 0,,, 7\r\n");
    struct {
        const char* name;
        bool templateInProgramFolder;
        std::optional<QByteArray> alreadyThere; // template already in the data folder
        bool fileInTheWay;                      // a file where the data folder belongs
        bool expectOk;
        std::optional<QByteArray> expectTemplate;
    } cases[] = {
        {"first start: folder made, template copied", true, std::nullopt, false, true, templ},
        {"a template already there is kept", true, QByteArray("own\r\n"), false, true,
         QByteArray("own\r\n")},
        {"no template beside the program", false, std::nullopt, false, false, std::nullopt},
        {"a file in the way of the folder", true, std::nullopt, true, false, std::nullopt},
    };
    const QString name = qs(taiju::kTemplateItemFile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("lib"));
        const QString data = dir.filePath(QStringLiteral("home/.local/share/taiju-check"));
        ASSERT_TRUE(QDir().mkpath(program));
        auto put = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        if (c.templateInProgramFolder)
            put(QDir(program).filePath(name), templ);
        if (c.alreadyThere) {
            ASSERT_TRUE(QDir().mkpath(data));
            put(QDir(data).filePath(name), *c.alreadyThere);
        }
        if (c.fileInTheWay) {
            ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("home/.local"))));
            put(dir.filePath(QStringLiteral("home/.local/share")), "x");
        }

        EXPECT_EQ(provisionDataFolder(program, data), c.expectOk);

        QFile copied(QDir(data).filePath(name));
        if (c.expectTemplate) {
            ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
            EXPECT_EQ(copied.readAll().toStdString(), c.expectTemplate->toStdString());
        } else {
            EXPECT_FALSE(copied.exists());
        }
        if (c.expectOk && !c.alreadyThere) {
            // Every folder made here is the user's alone.
            for (const char* made :
                 {"home", "home/.local", "home/.local/share", "home/.local/share/taiju-check"}) {
                struct stat st {};
                ASSERT_EQ(
                    ::stat(QFile::encodeName(dir.filePath(QString::fromUtf8(made))).constData(),
                           &st),
                    0);
                EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
            }
        }
    }
}

// The running program's folder (the tests' own, writable) serves as before,
// and deciding that writes nothing anywhere.
TEST(AppDir, WritableProgramFolderServesAsBefore) {
    QTemporaryDir xdg;
    ASSERT_TRUE(xdg.isValid());
    ASSERT_EQ(::setenv("XDG_DATA_HOME", QFile::encodeName(xdg.path()).constData(), 1), 0);
    int argc = 1;
    char name[] = "core_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationDirPath();
    ASSERT_TRUE(folderWritable(program));

    EXPECT_EQ(applicationFolder().toStdString(), program.toStdString());
    const auto windows = applicationDirectory();
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(qs(*windows).toStdString(), qs(*toWindows(program)).toStdString());
    EXPECT_TRUE(prepareApplicationFolder());
    EXPECT_TRUE(QDir(xdg.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    ::unsetenv("XDG_DATA_HOME");
}

} // namespace
