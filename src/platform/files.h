// SPDX-License-Identifier: MIT
#pragma once
// The files of the tool. The tool names them by Windows-form paths, the
// viewer by native paths (FileReader, fileStamp, readTextAt). Every function
// opens, uses and closes its file before it returns. Only regular files are
// read, and opening never waits (a pipe without a writer, a device). Failures
// carry their cause (FileFault, from the system's error number).

#include "log/save_failure.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taiju::platform {

// The cause of the system's error number (errno).
FileFault faultOfErrorNumber(int number);

// Call first thing in main() of every program of the tool (taiju-check,
// taiju-view). A write beyond the file-size limit (ulimit -f, a quota) then
// fails with EFBIG, which the callers handle and report, instead of the
// signal SIGXFSZ killing the program in the middle of a save. Nothing to do
// on a system without that signal.
void ignoreFileSizeSignal();

// The whole text of a small file decoded from code page 932, or nothing when
// it cannot be opened or read, is no regular file, or is larger than 16 MiB.
std::optional<std::u16string> readText(std::u16string_view path);

// The same for a native path; the fault, when it fails, in `fault`.
std::optional<std::u16string> readTextAt(const QString& native, FileFault& fault);

// The start of a file of any size: its first `bytes` bytes decoded from code
// page 932 (a two-byte character cut at the end becomes U+FFFD), and whether
// that is the whole file.
struct TextStart {
    std::u16string text;
    bool whole = false;
};
std::optional<TextStart> readTextStart(std::u16string_view path, std::size_t bytes);

// What the system tells of a file without reading it: a write changes its
// size or its time of modification, a new file under the name its inode.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of the regular file at `native`, or the fault: it is missing, a
// folder, or no regular file.
std::optional<FileFault> fileStamp(const QString& native, FileStamp& stamp);

class File;

// A regular file opened for reading, by its native path, closed when the
// reader goes.
class FileReader {
  public:
    FileReader();
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens the file; a folder, a pipe or a device is refused without
    // waiting for it.
    std::optional<FileFault> open(const QString& native);
    // The stamp of the open file.
    std::optional<FileFault> stamp(FileStamp& stamp) const;
    // Goes to byte `offset` from the start.
    std::optional<FileFault> seek(std::uint64_t offset);
    // Reads up to `n` bytes into `out`, replacing what it held; fewer (none)
    // at the end of the file.
    std::optional<FileFault> read(std::size_t n, std::string& out);

  private:
    std::unique_ptr<File> file_;
};

// Creates the file, or empties it when it exists, and writes each line
// encoded in code page 932 and ended by CR LF. False when it fails.
bool writeLines(std::u16string_view path, const std::vector<std::u16string>& lines);

// Why the file cannot be read: nothing when it opens for reading. A missing
// file (or a folder on its way) is FileMissing.
std::optional<FileFault> readFault(std::u16string_view path);

// How an append ended: nothing failed, or the fault and whether part of
// `bytes` stayed at the end of the file.
struct AppendResult {
    std::optional<FileFault> fault;
    bool partLeft = false;
    bool written() const { return !fault; }
};

// Appends `bytes` to the file in one write, creating the file when it is
// missing, and flushes it to disk. A file that does not end with CR LF (a
// record cut short earlier, by a signal or a failed append) gets CR LF in
// front of `bytes`, in the same write, so that the new record starts a line
// of its own.
//
// Locks: the append holds an exclusive flock and an exclusive POSIX record
// lock (fcntl) on the whole file, from reading its end to the flush, so that
// appends of programs that lock with either call follow each other. While
// another program holds one, it tries again every few milliseconds, calling
// `waiting` in between, for at most 10 s; then the fault is Busy.
//
// A failed or short write: when both locks are held, the file is cut back to
// the length it had, provided it still ends with exactly what this write
// added. When a lock is not available here (a file system without locks),
// nothing is cut, since another program's append may lie behind the part
// written: that part stays (partLeft) and the next append starts on a new
// line. Programs that append without any lock are not excluded: an append of
// theirs between the check and the cut could be cut off with this one.
AppendResult appendBytes(std::u16string_view path, std::string_view bytes,
                         const std::function<void()>& waiting = {});

// Copies the file `from` over the file `to` (replacing it). Nothing when it
// succeeded; otherwise the fault and which of the two files it concerns.
struct CopyFault {
    FileFault fault;
    bool atSource = false; // `from` could not be read; else `to` not written
};
std::optional<CopyFault> copyFile(std::u16string_view from, std::u16string_view to);

} // namespace taiju::platform
