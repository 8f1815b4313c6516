// SPDX-License-Identifier: MIT
#include "platform/files.h"
#include "platform/qt_services.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <map>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace taiju::platform;

// Lock failure on demand: while gNoLocks is set, flock and the fcntl lock
// commands of this program fail with ENOLCK, as on a file system without
// locks. Every other call goes to the C library.
namespace {
std::atomic<bool> gNoLocks{false};
#ifdef __USE_FILE_OFFSET64
constexpr char kFcntl[] = "fcntl64";
#else
constexpr char kFcntl[] = "fcntl";
#endif
} // namespace

extern "C" int flock(int fd, int operation) {
    static const auto real = reinterpret_cast<int (*)(int, int)>(dlsym(RTLD_NEXT, "flock"));
    if (gNoLocks && !(operation & LOCK_UN)) {
        errno = ENOLCK;
        return -1;
    }
    return real(fd, operation);
}

extern "C" int fcntl(int fd, int command, ...) {
    static const auto real = reinterpret_cast<int (*)(int, int, ...)>(dlsym(RTLD_NEXT, kFcntl));
    va_list args;
    va_start(args, command);
    void* argument = va_arg(args, void*);
    va_end(args);
    if (gNoLocks && (command == F_SETLK || command == F_SETLKW || command == F_OFD_SETLK ||
                     command == F_OFD_SETLKW)) {
        errno = ENOLCK;
        return -1;
    }
    return real(fd, command, argument);
}

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

TEST_F(Files, ReadTextStart) {
    put("ostrel", "Z:\\x\r\n\x91\xcc.txt\r\n");
    struct {
        const char* name;
        std::size_t bytes;
        const char16_t* text;
        bool whole;
    } cases[] = {
        {"all of it and more", 100, u"Z:\\x\r\n体.txt\r\n", true},
        {"exactly all of it", 14, u"Z:\\x\r\n体.txt\r\n", true},
        {"one byte short", 13, u"Z:\\x\r\n体.txt\r", false},
        {"cut inside a character", 7, u"Z:\\x\r\n\uFFFD", false},
        {"nothing", 0, u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto start = readTextStart(path("ostrel"), c.bytes);
        ASSERT_TRUE(start.has_value());
        EXPECT_TRUE(start->text == c.text);
        EXPECT_EQ(start->whole, c.whole);
    }
    EXPECT_FALSE(readTextStart(path("missing"), 10).has_value());
    EXPECT_FALSE(readTextStart(path(""), 10).has_value());
}

// A text file of more than 16 MiB is refused by readText.
TEST_F(Files, ReadTextRefusesHugeFiles) {
    put("k.txt", std::string(16 * 1024 * 1024, 'a'));
    EXPECT_TRUE(readText(path("k.txt")).has_value());
    put("k.txt", std::string(16 * 1024 * 1024 + 1, 'a'));
    EXPECT_FALSE(readText(path("k.txt")).has_value());
}

TEST_F(Files, AppendBytes) {
    EXPECT_TRUE(appendBytes(path("log.txt"), "first\r\n").written());
    EXPECT_TRUE(appendBytes(path("log.txt"), "\x91\xcc\r\n").written());
    EXPECT_EQ(bytesOf("log.txt"), "first\r\n\x91\xcc\r\n");
}

// A log that does not end with CR LF (a record cut short) gets CR LF before
// the new record, so that the record is a whole line of its own.
TEST_F(Files, AppendStartsOnANewLine) {
    struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"empty", "", "rec\r\n"},
        {"whole lines", "a\r\n", "a\r\nrec\r\n"},
        {"half a record", "  65.5  1.6", "  65.5  1.6\r\nrec\r\n"},
        {"one byte", "a", "a\r\nrec\r\n"},
        {"a CR alone", "a\r", "a\r\r\nrec\r\n"},
        {"an LF alone", "a\n", "a\n\r\nrec\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put("log.txt", c.before);
        EXPECT_TRUE(appendBytes(path("log.txt"), "rec\r\n").written());
        EXPECT_EQ(bytesOf("log.txt"), c.after);
    }
}

// Every failing operation names its cause, and leaves the files as they were.
TEST_F(Files, FailuresNameTheirCause) {
    put("log.txt", "earlier\r\n");
    put("template", "100  'x\r\n");
    QDir(dir_.path()).mkdir("k.txt");
    ASSERT_EQ(mkfifo(native("fifo").toLocal8Bit().constData(), 0600), 0);
    const std::u16string nul = path("log.txt") + std::u16string(1, u'\0') + u"x";
    const std::u16string longName = path(QString(300, 'n'));
    using taiju::FileCause;
    struct {
        const char* name;
        std::u16string path;
        FileCause cause;
        FileCause asSource; // when it is the file to copy
    } cases[] = {
        {"folder missing", path("no/such.txt"), FileCause::FolderMissing, FileCause::FileMissing},
        {"a file where a folder belongs", path("log.txt/x"), FileCause::FolderMissing,
         FileCause::FileMissing},
        {"a folder where the file belongs", path("k.txt"), FileCause::IsFolder,
         FileCause::IsFolder},
        {"another drive", u"C:\\log.txt", FileCause::NoDrive, FileCause::NoDrive},
        {"NUL in the name", nul, FileCause::BadName, FileCause::BadName},
        {"name too long", longName, FileCause::BadName, FileCause::BadName},
        {"a pipe", path("fifo"), FileCause::NotAFile, FileCause::NotAFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto appended = appendBytes(c.path, "x");
        ASSERT_FALSE(appended.written());
        EXPECT_EQ(appended.fault->cause, c.cause);
        EXPECT_FALSE(appended.partLeft);
        const auto copied = copyFile(path("template"), c.path);
        ASSERT_TRUE(copied.has_value());
        EXPECT_EQ(copied->fault.cause, c.cause);
        EXPECT_FALSE(copied->atSource);
        const auto fromThere = copyFile(c.path, path("target"));
        ASSERT_TRUE(fromThere.has_value());
        EXPECT_EQ(fromThere->fault.cause, c.asSource);
        EXPECT_TRUE(fromThere->atSource);
        ASSERT_TRUE(readFault(c.path).has_value());
        EXPECT_EQ(readFault(c.path)->cause, c.asSource);
    }
    EXPECT_FALSE(readFault(path("log.txt")).has_value());
    EXPECT_EQ(bytesOf("log.txt"), "earlier\r\n"); // nothing written at the NUL either
    EXPECT_EQ(bytesOf("target"), "<missing>");
}

// Runs `body` in a child process and gives its exit status (-1 when killed).
template <class F> int inChild(F body) {
    pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Real limits of the system: a file-size limit, a full file system and a
// folder the user may not write to. The append fails with its cause and the
// file is as it was; the program lives on (SIGXFSZ ignored).
TEST_F(Files, AppendUnderRealLimits) {
    const std::string before(1000, 'a');
    put("log.txt", before);
    const std::u16string target = path("log.txt");
    const std::string record = std::string(510, 'b') + "\r\n";
    auto expect = [&](taiju::FileCause cause) {
        const auto r = appendBytes(target, record);
        return r.written() ? 10 : r.partLeft ? 11 : r.fault->cause != cause ? 12 : 0;
    };
    // 1 and 2: the limit could not be set up here.
    EXPECT_EQ(inChild([&] {
                  ignoreFileSizeSignal();
                  rlimit limit{1100, RLIM_INFINITY};
                  return setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 1
                                                              : expect(taiju::FileCause::TooLarge);
              }),
              0)
        << "file-size limit: 10 written, 11 part left, 12 other cause";
    EXPECT_EQ(bytesOf("log.txt"), before);

    const int full = inChild([&] {
        const QString mount = native("small");
        if (!QDir().mkpath(mount) || unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mount.toLocal8Bit().constData(), "tmpfs", 0, "size=16k") != 0)
            return 1;
        const std::u16string small = *toWindows(mount + "/log.txt");
        const std::string line = std::string(998, 'a') + "\r\n";
        std::string fill;
        while (appendBytes(small, line).written())
            fill += line;
        const auto r = appendBytes(small, record);
        QFile f(mount + "/log.txt");
        return !f.open(QIODevice::ReadOnly) || f.readAll().toStdString() != fill ? 13
               : r.written()                                                     ? 10
               : r.fault->cause != taiju::FileCause::DiskFull                    ? 12
                                                                                 : 0;
    });
    if (full == 1)
        std::printf("note: no private tmpfs here, the full file system is not tried\n");
    else
        EXPECT_EQ(full, 0) << "full file system: 10 written, 12 other cause, 13 file changed";

    EXPECT_EQ(inChild([&] {
                  // As a user without rights on the folder: nobody when root.
                  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther);
                  if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                      return 2;
                  const auto r = appendBytes(path("new.txt"), record);
                  return r.written() ? 10 : r.fault->cause != taiju::FileCause::NotAllowed ? 12 : 0;
              }),
              0)
        << "not allowed: 10 written, 12 other cause";
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bytesOf("log.txt"), before);
}

// Several programs append to one log at once, one of them failing again and
// again under a file-size limit set just beyond the log's end, so that its
// writes are cut short. Every record reported written is in the log exactly
// once, whole and at a multiple of the record length; no other bytes are.
TEST_F(Files, ConcurrentAppendsLoseNothing) {
    constexpr int kProcesses = 4, kRecords = 150, kFailing = 0;
    constexpr std::size_t kLength = 2 * 256; // jrecw 2
    const std::u16string target = path("log.txt");
    auto record = [&](int process, int seq) {
        char head[32];
        std::snprintf(head, sizeof head, "%d %05d ", process, seq);
        std::string r = head;
        r.resize(kLength - 2, static_cast<char>('a' + process));
        return r + "\r\n";
    };
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ignoreFileSizeSignal();
            // Its report: one line "seq ok" per append.
            FILE* report = std::fopen(native(QString("report%1").arg(p)).toLocal8Bit(), "w");
            for (int seq = 0; seq < kRecords; ++seq) {
                if (p == kFailing) {
                    // Every other append under a limit half a record beyond
                    // the current end: cut short, or refused when another
                    // process appended first.
                    const rlim_t end = static_cast<rlim_t>(QFileInfo(native("log.txt")).size());
                    rlimit limit{seq % 2 ? RLIM_INFINITY : end + kLength / 2, RLIM_INFINITY};
                    setrlimit(RLIMIT_FSIZE, &limit);
                }
                std::fprintf(report, "%d %d\n", seq,
                             appendBytes(target, record(p, seq)).written() ? 1 : 0);
            }
            std::fclose(report);
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    const std::string log = bytesOf("log.txt");
    std::map<std::pair<int, int>, int> found;
    int torn = 0;
    for (std::size_t at = 0; at < log.size(); at += kLength) {
        int p = -1, seq = -1;
        std::sscanf(log.c_str() + at, "%d %d", &p, &seq);
        if (log.compare(at, kLength, record(p, seq)) == 0)
            ++found[{p, seq}];
        else
            ++torn;
    }
    int written = 0, failed = 0, lost = 0, extra = 0;
    for (int p = 0; p < kProcesses; ++p) {
        QFile report(native(QString("report%1").arg(p)));
        ASSERT_TRUE(report.open(QIODevice::ReadOnly));
        for (const QByteArray& line : report.readAll().split('\n')) {
            if (line.isEmpty())
                continue;
            const int seq = line.split(' ')[0].toInt();
            const int n = found[{p, seq}];
            if (line.endsWith(" 1")) {
                ++written;
                lost += n == 0;
                extra += n > 1;
            } else {
                ++failed;
                extra += n > 0;
            }
        }
    }
    std::printf("concurrent appends: %d processes, %d records reported written, %d failures "
                "injected, %d records lost, %d torn, %zu bytes in the log\n",
                kProcesses, written, failed, lost, torn, log.size());
    EXPECT_EQ(written + failed, kProcesses * kRecords);
    EXPECT_GT(failed, 0);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(extra, 0) << "a record twice, or a record reported failed in the log";
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(log.size(), written * kLength) << "the log holds other bytes";
}

// Without locks (injected ENOLCK), an append cut short by the file-size
// limit leaves its part: cutting it off could cut another program's bytes
// behind it. It says so, and the next append starts on a new line.
TEST_F(Files, NoCutBackWithoutLocks) {
    const std::string before = "earlier\r\n";
    put("log.txt", before);
    const std::string record = std::string(254, 'r') + "\r\n";
    EXPECT_EQ(inChild([&] {
                  ignoreFileSizeSignal();
                  gNoLocks = true;
                  rlimit limit{before.size() + 100, RLIM_INFINITY};
                  if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                      return 1;
                  const auto cut = appendBytes(path("log.txt"), record);
                  if (cut.written() || !cut.partLeft ||
                      cut.fault->cause != taiju::FileCause::TooLarge)
                      return 10;
                  limit.rlim_cur = RLIM_INFINITY;
                  setrlimit(RLIMIT_FSIZE, &limit);
                  return appendBytes(path("log.txt"), record).written() ? 0 : 11;
              }),
              0)
        << "1 no limit, 10 first append not as expected, 11 second append failed";
    EXPECT_EQ(bytesOf("log.txt"), before + record.substr(0, 100) + "\r\n" + record);
}

// An append waits while another program holds either kind of lock on the
// log, calling back meanwhile, and writes once it is released.
TEST_F(Files, AppendWaitsForEitherLock) {
    for (const bool posix : {false, true}) {
        SCOPED_TRACE(posix ? "POSIX record lock (lockf)" : "flock");
        put("log.txt", "");
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t holder = fork();
        ASSERT_NE(holder, -1);
        if (holder == 0) {
            const int fd = ::open(native("log.txt").toLocal8Bit().constData(), O_RDWR);
            const bool held = posix ? lockf(fd, F_LOCK, 0) == 0 : ::flock(fd, LOCK_EX) == 0;
            (void)!write(ready[1], held ? "1" : "0", 1);
            usleep(400 * 1000);
            _exit(0);
        }
        char held = 0;
        ASSERT_EQ(read(ready[0], &held, 1), 1);
        ASSERT_EQ(held, '1');
        int calls = 0;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(appendBytes(path("log.txt"), "rec\r\n", [&] { ++calls; }).written());
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
        EXPECT_GT(calls, 10);
        EXPECT_EQ(bytesOf("log.txt"), "rec\r\n");
        waitpid(holder, nullptr, 0);
        close(ready[0]);
        close(ready[1]);
    }
}

TEST_F(Files, CopyFile) {
    put("template", "100  'x\r\n");
    put("target", std::string(300, 'z'));
    ASSERT_FALSE(copyFile(path("template"), path("target")));
    EXPECT_EQ(bytesOf("target"), "100  'x\r\n");
    ASSERT_FALSE(copyFile(path("template"), path("fresh")));
    EXPECT_EQ(bytesOf("fresh"), "100  'x\r\n");
}

// The system's error numbers and what the user reads about them.
TEST(FileFaults, CauseOfErrorNumber) {
    struct {
        const char* name;
        int number;
        const char16_t* text;
    } cases[] = {
        {"folder missing", ENOENT, u"ﾌｫﾙﾀﾞがありません。"},
        {"a file on the way", ENOTDIR, u"ﾌｫﾙﾀﾞがありません。"},
        {"no permission", EACCES, u"書き込みが許可されていません。"},
        {"read-only file system", EROFS, u"書き込みが許可されていません。"},
        {"disk full", ENOSPC, u"ディスクに空きがありません。"},
        {"a folder where the file belongs", EISDIR, u"同じ名前のﾌｫﾙﾀﾞがあります。"},
        {"file-size limit", EFBIG, u"ﾌｧｲﾙの大きさが上限に達しています。"},
        {"name too long", ENAMETOOLONG, u"名前が長すぎるか、使えない文字があります。"},
        {"input/output error", EIO, u"ｼｽﾃﾑのエラーです（エラー番号 5）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qs(taiju::causeText(faultOfErrorNumber(c.number), u"Z:\\x")), qs(c.text));
    }
}

TEST(NameFilters, DescriptionPatternPairs) {
    const QStringList want = {QStringLiteral("全てのﾌｧｲﾙ(*.*) (*)"),
                              QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt) (*.txt)")};
    EXPECT_EQ(nameFilters(QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|")), want);
    EXPECT_EQ(nameFilters(QStringLiteral("全てのﾌｧｲﾙ(*.*)|*.*|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt")), want);
}

} // namespace
