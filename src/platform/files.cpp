#include "platform/files.h"

#include "platform/winpath.h"
#include "text/encoding.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

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
    if (path.find(u'\0') != std::u16string_view::npos) {
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
#ifdef Q_OS_UNIX

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
    ~File() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    // For reading; a missing file (or folder on its way) is a missing file.
    Fault openRead(const QString& native) {
        Fault f = open(native, O_RDONLY);
        if (f && f->cause == FileCause::FolderMissing)
            f->cause = FileCause::FileMissing;
        return f;
    }
    // For writing; emptied, or positioned at its end for appending.
    Fault openWrite(const QString& native, bool append) {
        return open(native, O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC));
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

    bool truncate(std::uint64_t bytes) const {
        return ::ftruncate(fd_, static_cast<off_t>(bytes)) == 0;
    }

    // An exclusive lock on the whole file, released when the file closes.
    // Another program that holds it longer than kLockWait is reported busy.
    // A file system without such locks (some network file systems) is used
    // without one: the append still works, and its cut-back (see
    // appendBytes) still never touches bytes that another program appended.
    Fault lockExclusive() const {
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                return std::nullopt;
            if (std::chrono::steady_clock::now() >= deadline)
                return FileFault{FileCause::Busy, EWOULDBLOCK};
            std::this_thread::sleep_for(kLockRetry);
        }
        return std::nullopt;
    }

  private:
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
};

#else

// The same over QFile, for a build on another system. Causes are coarser:
// QFile reports no error number. No lock is taken; LockFileEx on the file's
// handle would give the same guarantee as flock.
class File {
  public:
    Fault openRead(const QString& native) {
        if (QFileInfo(native).isDir())
            return FileFault{FileCause::IsFolder, 0};
        file_.setFileName(native);
        if (!QFileInfo::exists(native))
            return FileFault{FileCause::FileMissing, 0};
        return file_.open(QIODevice::ReadOnly) ? Fault() : fault();
    }
    Fault openWrite(const QString& native, bool append) {
        if (QFileInfo(native).isDir())
            return FileFault{FileCause::IsFolder, 0};
        file_.setFileName(native);
        const auto mode = append ? QIODevice::Append : QIODevice::Truncate;
        return file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered | mode) ? Fault() : fault();
    }
    Fault size(std::uint64_t& bytes) const {
        bytes = static_cast<std::uint64_t>(file_.size());
        return std::nullopt;
    }
    Fault read(std::size_t n, std::string& out) {
        const QByteArray bytes = file_.read(static_cast<qint64>(n));
        if (file_.error() != QFileDevice::NoError)
            return fault();
        out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return std::nullopt;
    }
    Fault write(std::string_view bytes, std::size_t& done) {
        const qint64 w = file_.write(bytes.data(), static_cast<qint64>(bytes.size()));
        done = w > 0 ? static_cast<std::size_t>(w) : 0;
        return done == bytes.size() ? Fault() : fault();
    }
    Fault stamp(FileStamp& stamp) const {
        const QFileInfo info(file_);
        stamp = {static_cast<std::uint64_t>(info.size()),
                 info.lastModified().toMSecsSinceEpoch() * 1000000, 0, 0};
        return std::nullopt;
    }
    Fault seek(std::uint64_t offset) {
        return file_.seek(static_cast<qint64>(offset)) ? Fault() : fault();
    }
    Fault sync() { return file_.flush() ? Fault() : fault(); }
    bool truncate(std::uint64_t bytes) { return file_.resize(static_cast<qint64>(bytes)); }
    Fault lockExclusive() const { return std::nullopt; }

  private:
    FileFault fault() const {
        return {file_.error() == QFileDevice::PermissionsError ? FileCause::NotAllowed
                                                               : FileCause::Other,
                0};
    }
    QFile file_;
};

#endif

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
    if (Fault f = file.openWrite(*native, false))
        return f;
    std::size_t done = 0;
    if (Fault f = file.write(bytes, done))
        return f;
    return file.sync();
}

} // namespace

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
#ifdef Q_OS_UNIX
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
#else
    File file;
    if (Fault f = file.openRead(native))
        return f;
    return file.stamp(stamp);
#endif
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

std::optional<SettingsStart> readSettingsStart(const std::u16string& path, std::size_t bytes) {
    auto start = readTextStart(path, bytes);
    if (!start)
        return std::nullopt;
    return SettingsStart{std::move(start->text), start->whole};
}

bool writeLines(std::u16string_view path, const std::vector<std::u16string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += encodeCp932(line);
        bytes += "\r\n";
    }
    return !writeWhole(path, bytes);
}

AppendResult appendBytes(std::u16string_view path, std::string_view bytes) {
    FileFault fault;
    const auto native = nativePath(path, fault);
    if (!native)
        return {fault};
    File file;
    if (Fault f = file.openWrite(*native, true))
        return {f};
    // From here to the end the file is locked: the length measured is where
    // this write begins, and no other append can land behind it before a
    // cut-back.
    if (Fault f = file.lockExclusive())
        return {f};
    std::uint64_t before = 0;
    if (Fault f = file.size(before))
        return {f};
    std::size_t done = 0;
    Fault failed = file.write(bytes, done);
    if (!failed)
        failed = file.sync();
    if (!failed)
        return {};
    // Cut back only when the file ends with exactly what this write added;
    // otherwise (no lock available and another program appended meanwhile)
    // cutting would remove their bytes.
    std::uint64_t now = 0;
    const bool cut = done == 0 || (!file.size(now) && now == before + done &&
                                   file.truncate(before) && !file.sync());
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
