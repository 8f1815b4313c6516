#include "platform/files.h"
#include "platform/qt_services.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace taiju::platform;

namespace {

class Files : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString native(const QString& name) const { return dir_.filePath(name); }
    // The Windows form of a file in the temporary folder.
    std::u16string path(const QString& name) const { return *toWindows(native(name)); }

    std::string bytesOf(const QString& name) const {
        QFile f(native(name));
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll().toStdString();
    }
    void put(const QString& name, const std::string& bytes) const {
        QFile f(native(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    QTemporaryDir dir_;
};

TEST_F(Files, WriteLinesWritesShiftJisWithCrLf) {
    put("ostrel", std::string(100, 'x'));
    ASSERT_TRUE(writeLines(path("ostrel"), {u"Z:\\opt\\taiju", u"体重変化.txt", u""}));
    EXPECT_EQ(bytesOf("ostrel"), "Z:\\opt\\taiju\r\n\x91\xcc\x8f\x64\x95\xcf\x89\xbb.txt\r\n\r\n");

    ASSERT_TRUE(writeLines(path("empty"), {}));
    EXPECT_EQ(bytesOf("empty"), "");

    EXPECT_FALSE(writeLines(path(""), {u"x"})); // the folder itself
    EXPECT_FALSE(writeLines(path("no/such"), {u"x"}));
    EXPECT_FALSE(writeLines(u"C:\\ostrel", {u"x"}));
}

TEST_F(Files, ReadText) {
    put("k.txt", "100  '\r\n\x91\xcc\x8f\x64,\x82");
    auto text = readText(path("k.txt"));
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(*text == u"100  '\r\n体重,\uFFFD");

    put("empty", "");
    auto empty = readText(path("empty"));
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());

    EXPECT_FALSE(readText(path("missing")).has_value());
    EXPECT_FALSE(readText(path("")).has_value());
    EXPECT_FALSE(readText(u"C:\\k.txt").has_value());
}

TEST_F(Files, AppendBytes) {
    EXPECT_EQ(appendBytes(path("log.txt"), "first\r\n"), AppendResult::Written);
    EXPECT_EQ(appendBytes(path("log.txt"), "\x91\xcc\r\n"), AppendResult::Written);
    EXPECT_EQ(bytesOf("log.txt"), "first\r\n\x91\xcc\r\n");

    EXPECT_EQ(appendBytes(path(""), "x"), AppendResult::CannotOpen);
    EXPECT_EQ(appendBytes(path("no/such.txt"), "x"), AppendResult::CannotOpen);
    EXPECT_EQ(appendBytes(u"C:\\log.txt", "x"), AppendResult::CannotOpen);
    EXPECT_EQ(bytesOf("log.txt"), "first\r\n\x91\xcc\r\n");
}

// A write that the file system cuts short (here the file size limit) leaves
// the file as it was before the append.
TEST_F(Files, ShortAppendIsCutBack) {
    const std::string before(1000, 'a');
    put("log.txt", before);
    const std::u16string target = path("log.txt");

    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1100, 1100};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(2);
        AppendResult r = appendBytes(target, std::string(512, 'b'));
        _exit(r == AppendResult::WriteFailed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the short write was not reported, 2: no limit";
    EXPECT_EQ(bytesOf("log.txt"), before);
}

TEST_F(Files, CopyFile) {
    put("template", "100  'x\r\n");
    put("target", std::string(300, 'z'));
    ASSERT_TRUE(copyFile(path("template"), path("target")));
    EXPECT_EQ(bytesOf("target"), "100  'x\r\n");
    ASSERT_TRUE(copyFile(path("template"), path("fresh")));
    EXPECT_EQ(bytesOf("fresh"), "100  'x\r\n");

    EXPECT_FALSE(copyFile(path("missing"), path("target")));
    EXPECT_EQ(bytesOf("target"), "100  'x\r\n");
    EXPECT_FALSE(copyFile(path("template"), path("no/such")));
    EXPECT_FALSE(copyFile(path("template"), path("")));
    EXPECT_FALSE(copyFile(path(""), path("other")));
    EXPECT_FALSE(copyFile(path("template"), u"C:\\target"));
    EXPECT_EQ(bytesOf("other"), "<missing>");
}

TEST(NameFilters, DescriptionPatternPairs) {
    const QStringList want = {QStringLiteral("全てのﾌｧｲﾙ(*.*) (*)"),
                              QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt) (*.txt)")};
    EXPECT_EQ(nameFilters(QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|")), want);
    EXPECT_EQ(nameFilters(QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt")), want);
}

} // namespace
