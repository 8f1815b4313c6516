// SPDX-License-Identifier: MIT
#pragma once
// The viewer's files on disk: the log it shows, the declarations of its
// columns, and the default log of the main program. Everything here only
// reads; the viewer never writes a file of the tool.

#include "log/record_reader.h"
#include "platform/files.h"
#include "text/encoding.h"

#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace taiju::view {

// The columns of a log as an item file declares them.
struct LogColumns {
    RecordLayout layout;
    std::vector<std::u16string> names; // items 0 to jcount
    std::vector<bool> rightAligned;    // items 0 to jcount: flag "R" or "r"
    QString itemFile;                  // the item file they come from (native)
    QString notice;                    // why the template stands in, or empty
};

// The columns of the log `log` (a native path): from its item file ("k" and
// the log's name, beside it), read with the rules of the save button; when
// that is missing or rejected, from the template item file in the program's
// folder, with `notice` saying so. Nothing, with the reason in `error`, when
// neither can be used.
std::optional<LogColumns> readLogColumns(const QString& log, QString& error);

// The log the main program writes to (native path): folder and name from the
// settings file in the program's folder, or that folder and "体重変化.txt".
// Nothing, with the reason in `error`, when that path names no place here.
std::optional<QString> defaultLog(QString& error);

// The native, absolute form of a path, as the viewer shows it.
QString shownPath(const QString& path);

// A path or name in Japanese quotes 「」, as messages name files.
QString quoted(const QString& path);

// Why an export to `target`, one of the tool's own files, is refused.
QString toolFileRefusal(const QString& target);

// A log read from its start and then followed as it grows.
class LogFile {
  public:
    explicit LogFile(const QString& path);
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Reads the columns and the whole log anew. False, with error(), when
    // either cannot be read; the records read before are kept then.
    bool load();

    // Reads the columns and then the log from its start like load(), but
    // hands the records on as they are read instead of keeping them: `take`
    // gets the reader after every piece of the log, with `atEnd` after the
    // last, and takes what it needs and forgets it
    // (RecordReader::forgetCompleteRecords), so that a long log is never
    // held whole. columns() gives the columns then; records() gives nothing.
    // False, with error(), when the log cannot be read; false with no
    // error() when `take` returned false. When `items` names any, only
    // those items' texts are read; the others read as empty.
    bool stream(const std::function<bool(RecordReader& reader, bool atEnd)>& take,
                std::span<const std::size_t> items = {});

    enum class Change {
        None,   // nothing new
        Grew,   // bytes were appended: readAppended() takes them
        Reload, // replaced, rewritten, shrunk, back after it was gone, or
                // never read: load() again
        Gone,   // the file is not there (any more)
    };
    // What happened to the file since it was last read: a change of its
    // size, of its time of modification (a rewrite of the same size) or of
    // the file under its name. Reads no content.
    Change check();

    enum class Append {
        Done,     // the appended bytes are read
        Replaced, // the bytes read before changed: load() again
        Failed,   // they cannot be read: error()
    };
    // Reads the bytes appended since the last read.
    Append readAppended();

    // The native absolute path.
    const QString& path() const { return path_; }
    QString fileName() const;
    // Nothing before the first successful load.
    const LogColumns* columns() const { return columns_ ? &*columns_ : nullptr; }
    const LogRecords* records() const { return reader_ ? &reader_->records() : nullptr; }
    const QString& error() const { return error_; }

    // Whether `target` is one of the files the viewer must never write: the
    // log, its item file, the template or the settings file.
    bool isToolFile(const QString& target) const;

  private:
    // The columns, with `file` opened on the log; nothing, with error(), when
    // either cannot be had.
    std::optional<LogColumns> open(platform::FileReader& file);
    // Reads `file` to its end in pieces of `pieceSize` bytes, one buffer for
    // all, handing each to `take`, and then takes its stamp. False, with
    // error() when the file cannot be read, or when `take` returned false.
    bool readPieces(platform::FileReader& file, std::size_t pieceSize,
                    const std::function<bool(std::string_view)>& take);
    // The message for a log that cannot be read for `fault`.
    void failed(const FileFault& fault);

    QString path_;
    platform::Cp932Decoder decoder_;
    std::optional<LogColumns> columns_;
    std::optional<RecordReader> reader_;
    std::string lastBytes_;     // the last bytes read, to see a replaced file
    platform::FileStamp stamp_; // the log's when it was last read
    QString error_;
    bool gone_ = false;
};

} // namespace taiju::view
