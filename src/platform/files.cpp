// SPDX-License-Identifier: MIT
#include "platform/files.h"

#include "log/paths.h"
#include "platform/winpath.h"
#include "text/encoding.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <thread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace taiju::platform {
namespace {

using Fault = std::optional<FileFault>;

constexpr std::size_t kMaxTextFile = 16 * 1024 * 1024;
// How long an append waits for the lock that another program holds: an
// append of theirs takes milliseconds.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(2);

// The native path of a Windows-form path, or the fault of a path that names
// no file here. A NUL would cut the name short at the system's interface.
std::optional<QString> nativePath(std::u16string_view path, FileFault& fault) {
    if (holdsNul(path)) {
        fault = {FileCause::BadName, 0};
        return std::nullopt;
    }
    auto native = toNative(path);
    if (!native)
        fault = {FileCause::NoDrive, 0};
    return native;
}

} // namespace

// The open file of every function here: defined outside the unnamed namespace,
// as FileReader holds one.

static FileFault lastFault() {
    return faultOfErrorNumber(errno);
}

static FileStamp stampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// A folder or anything but a regular file, by its mode.
static Fault kindFault(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return FileFault{FileCause::IsFolder, EISDIR};
    if (!S_ISREG(st.st_mode))
        return FileFault{FileCause::NotAFile, 0};
    return std::nullopt;
}

// One open file, closed when it goes. Only regular files are opened: a
// folder, a device or a pipe is refused (and opening never waits for a pipe's
// other end).
class File {
  public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { close(); }

    // For reading; a missing file (or folder on its way) is a missing file.
    Fault openRead(const QString& native) {
        Fault f = open(native, O_RDONLY);
        if (f && f->cause == FileCause::FolderMissing)
            f->cause = FileCause::FileMissing;
        return f;
    }
    // For writing, emptied.
    Fault openWrite(const QString& native) { return open(native, O_WRONLY | O_CREAT | O_TRUNC); }
    // For appending; also for reading its end where the user may read it.
    Fault openAppend(const QString& native) {
        Fault f = open(native, O_RDWR | O_CREAT | O_APPEND);
        readable_ = !f;
        if (f && f->cause == FileCause::NotAllowed) {
            close();
            f = open(native, O_WRONLY | O_CREAT | O_APPEND);
        }
        return f;
    }

    Fault size(std::uint64_t& bytes) const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return lastFault();
        bytes = static_cast<std::uint64_t>(st.st_size);
        return std::nullopt;
    }

    Fault stamp(FileStamp& stamp) const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return lastFault();
        stamp = stampOf(st);
        return std::nullopt;
    }

    Fault seek(std::uint64_t offset) const {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0 ? lastFault() : Fault();
    }

    // Appends up to `n` bytes to `out`, fewer at the end of the file.
    Fault read(std::size_t n, std::string& out) const {
        const std::size_t start = out.size();
        out.resize(start + n);
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::read(fd_, out.data() + start + got, n - got);
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0)
                return lastFault();
            if (r == 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        out.resize(start + got);
        return std::nullopt;
    }

    // Writes all of `bytes`; `done` counts what reached the file.
    Fault write(std::string_view bytes, std::size_t& done) const {
        done = 0;
        while (done < bytes.size()) {
            const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                return lastFault();
            if (w == 0)
                return FileFault{FileCause::Other, 0};
            done += static_cast<std::size_t>(w);
        }
        return std::nullopt;
    }

    Fault sync() const { return ::fsync(fd_) == 0 ? Fault() : lastFault(); }

    // Whether the file of `bytes` bytes ends in the middle of a line: it
    // has bytes and they do not end with CR LF. A file that may not be read
    // is taken as whole.
    bool tornTail(std::uint64_t bytes) const {
        if (bytes == 0 || !readable_)
            return false;
        char end[2] = {};
        const std::size_t n = bytes >= 2 ? 2 : 1;
        ssize_t r;
        do
            r = ::pread(fd_, end, n, static_cast<off_t>(bytes - n));
        while (r < 0 && errno == EINTR);
        return r == static_cast<ssize_t>(n) && !(n == 2 && end[0] == '\r' && end[1] == '\n');
    }

    bool truncate(std::uint64_t bytes) const {
        return ::ftruncate(fd_, static_cast<off_t>(bytes)) == 0;
    }

    // Exclusive locks of both kinds on the whole file, released when the
    // file closes: flock, and a POSIX record lock (of the open file, where
    // the system has such locks, so that no other descriptor of this
    // program releases it). Another program that holds either longer than
    // kLockWait makes the file Busy; `waiting` is called between attempts.
    // `both` tells whether both are held: a file system may have neither
    // kind, or one only, and the file is then used with what it has.
    Fault lockExclusive(const std::function<void()>& waiting, bool& both) const {
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        for (;;) {
            const Lock whole = tryFlock();
            if (whole != Lock::Busy) {
                const Lock record = tryRecordLock();
                if (record != Lock::Busy) {
                    both = whole == Lock::Taken && record == Lock::Taken;
                    return std::nullopt;
                }
                // Waiting with one lock held could keep out a program that
                // takes them in the other order.
                if (whole == Lock::Taken)
                    ::flock(fd_, LOCK_UN);
            }
            if (std::chrono::steady_clock::now() >= deadline)
                return FileFault{FileCause::Busy, EWOULDBLOCK};
            if (waiting)
                waiting();
            std::this_thread::sleep_for(kLockRetry);
        }
    }

  private:
    enum class Lock { Taken, Busy, NotHere };

    Lock tryFlock() const {
        int r;
        do
            r = ::flock(fd_, LOCK_EX | LOCK_NB);
        while (r != 0 && errno == EINTR);
        return r == 0 ? Lock::Taken : errno == EWOULDBLOCK ? Lock::Busy : Lock::NotHere;
    }

    Lock tryRecordLock() const {
        struct flock whole {};
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET; // from the start, l_len 0: to any end
#ifdef F_OFD_SETLK
        const int command = F_OFD_SETLK;
#else
        const int command = F_SETLK;
#endif
        int r;
        do
            r = ::fcntl(fd_, command, &whole);
        while (r != 0 && errno == EINTR);
        return r == 0                               ? Lock::Taken
               : errno == EAGAIN || errno == EACCES ? Lock::Busy
                                                    : Lock::NotHere;
    }

    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    Fault open(const QString& native, int flags) {
        const QByteArray name = QFile::encodeName(native);
        do
            fd_ = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
        while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0)
            return lastFault();
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return lastFault();
        return kindFault(st);
    }

    int fd_ = -1;
    bool readable_ = false;
};

namespace {

// The first `limit` bytes of the file and whether that is all of it. Reads
// the file's size plus one byte, so that a small file costs a small buffer;
// when that byte is there too (the file grew meanwhile), reads on, twice as
// much each time, up to the limit and one byte more.
Fault readStartAt(const QString& native, std::size_t limit, std::string& bytes, bool& whole) {
    File file;
    if (Fault f = file.openRead(native))
        return f;
    std::uint64_t size = 0;
    if (Fault f = file.size(size))
        return f;
    std::size_t want = size < limit ? static_cast<std::size_t>(size) + 1 : limit + 1;
    bytes.clear();
    for (;;) {
        if (Fault f = file.read(want - bytes.size(), bytes))
            return f;
        if (bytes.size() < want || want > limit)
            break;
        want = std::min(want * 2, limit + 1);
    }
    whole = bytes.size() <= limit;
    if (!whole)
        bytes.resize(limit);
    return std::nullopt;
}

Fault readStart(std::u16string_view path, std::size_t limit, std::string& bytes, bool& whole) {
    FileFault fault;
    const auto native = nativePath(path, fault);
    return native ? readStartAt(*native, limit, bytes, whole) : fault;
}

Fault writeWhole(std::u16string_view path, std::string_view bytes) {
    FileFault fault;
    const auto native = nativePath(path, fault);
    if (!native)
        return fault;
    File file;
    if (Fault f = file.openWrite(*native))
        return f;
    std::size_t done = 0;
    if (Fault f = file.write(bytes, done))
        return f;
    return file.sync();
}

} // namespace

FileFault faultOfErrorNumber(int number) {
    FileCause cause = FileCause::Other;
    switch (number) {
    case ENOENT:
    case ENOTDIR:
        cause = FileCause::FolderMissing;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        cause = FileCause::NotAllowed;
        break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        cause = FileCause::DiskFull;
        break;
    case EISDIR:
        cause = FileCause::IsFolder;
        break;
    case EFBIG:
        cause = FileCause::TooLarge;
        break;
    case ENAMETOOLONG:
    case EILSEQ:
        cause = FileCause::BadName;
        break;
    case EWOULDBLOCK:
        cause = FileCause::Busy;
        break;
    case ENXIO:
    case ENODEV:
        cause = FileCause::NotAFile;
        break;
    default:
        break;
    }
    return {cause, number};
}

void ignoreFileSizeSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

std::optional<std::u16string> readText(std::u16string_view path) {
    std::string bytes;
    bool whole = false;
    if (readStart(path, kMaxTextFile, bytes, whole) || !whole)
        return std::nullopt;
    return decodeCp932(bytes);
}

std::optional<std::u16string> readTextAt(const QString& native, FileFault& fault) {
    std::string bytes;
    bool whole = false;
    if (Fault f = readStartAt(native, kMaxTextFile, bytes, whole)) {
        fault = *f;
        return std::nullopt;
    }
    if (!whole) {
        fault = {FileCause::TooLarge, 0};
        return std::nullopt;
    }
    return decodeCp932(bytes);
}

std::optional<FileFault> fileStamp(const QString& native, FileStamp& stamp) {
    struct stat st {};
    if (::stat(QFile::encodeName(native).constData(), &st) != 0) {
        Fault f = lastFault();
        if (f->cause == FileCause::FolderMissing)
            f->cause = FileCause::FileMissing;
        return f;
    }
    if (Fault f = kindFault(st))
        return f;
    stamp = stampOf(st);
    return std::nullopt;
}

FileReader::FileReader() = default;
FileReader::~FileReader() = default;

std::optional<FileFault> FileReader::open(const QString& native) {
    file_ = std::make_unique<File>();
    return file_->openRead(native);
}

std::optional<FileFault> FileReader::stamp(FileStamp& stamp) const {
    return file_->stamp(stamp);
}

std::optional<FileFault> FileReader::seek(std::uint64_t offset) {
    return file_->seek(offset);
}

std::optional<FileFault> FileReader::read(std::size_t n, std::string& out) {
    out.clear();
    return file_->read(n, out);
}

std::optional<TextStart> readTextStart(std::u16string_view path, std::size_t bytes) {
    std::string start;
    TextStart text;
    if (readStart(path, bytes, start, text.whole))
        return std::nullopt;
    text.text = decodeCp932(start);
    return text;
}

bool writeLines(std::u16string_view path, const std::vector<std::u16string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += encodeCp932(line);
        bytes += "\r\n";
    }
    return !writeWhole(path, bytes);
}

std::optional<FileFault> readFault(std::u16string_view path) {
    FileFault fault;
    const auto native = nativePath(path, fault);
    if (!native)
        return fault;
    File file;
    return file.openRead(*native);
}

AppendResult appendBytes(std::u16string_view path, std::string_view bytes,
                         const std::function<void()>& waiting) {
    FileFault fault;
    const auto native = nativePath(path, fault);
    if (!native)
        return {fault};
    File file;
    if (Fault f = file.openAppend(*native))
        return {f};
    // From here to the end the file is locked: its end as read is where
    // this write begins, and no other locking append can land behind it
    // before a cut-back.
    bool locked = false;
    if (Fault f = file.lockExclusive(waiting, locked))
        return {f};
    std::uint64_t before = 0;
    if (Fault f = file.size(before))
        return {f};
    std::string onNewLine;
    if (file.tornTail(before)) {
        onNewLine.reserve(2 + bytes.size());
        onNewLine.append("\r\n").append(bytes);
        bytes = onNewLine;
    }
    std::size_t done = 0;
    Fault failed = file.write(bytes, done);
    if (!failed)
        failed = file.sync();
    if (!failed)
        return {};
    if (done == 0)
        return {failed};
    // Cut back only under both locks, and only when the file ends with
    // exactly what this write added; otherwise cutting could remove the
    // bytes of another program.
    std::uint64_t now = 0;
    const bool cut =
        locked && !file.size(now) && now == before + done && file.truncate(before) && !file.sync();
    return {failed, !cut};
}

std::optional<CopyFault> copyFile(std::u16string_view from, std::u16string_view to) {
    std::string bytes;
    bool whole = false;
    if (Fault f = readStart(from, kMaxTextFile, bytes, whole))
        return CopyFault{*f, true};
    if (!whole)
        return CopyFault{{FileCause::TooLarge, 0}, true};
    if (Fault f = writeWhole(to, bytes))
        return CopyFault{*f, false};
    return std::nullopt;
}

} // namespace taiju::platform
