// SPDX-License-Identifier: MIT
#include "view/log_file.h"

#include "app/settings.h"
#include "history/default_path.h"
#include "log/itemfile.h"
#include "log/paths.h"
#include "log/record.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "platform/settings_file.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace taiju::view {

using platform::qs;

namespace {

// How many of the last bytes read are compared before appended bytes are
// taken, to notice a log that was replaced by another one.
constexpr std::size_t kCompared = 64;
// The pieces in which a log is read into memory.
constexpr std::size_t kPiece = 1 << 20;

// Keeps in `tail` the last kCompared bytes of what it held and `bytes`.
void keepTail(std::string& tail, std::string_view bytes) {
    tail += bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), kCompared));
    tail.erase(0, tail.size() - std::min<std::size_t>(tail.size(), kCompared));
}

struct ItemFileRead {
    std::optional<LogColumns> columns;
    QString problem; // why it cannot be used
};

// Why a file cannot be read, said after its name.
QString unreadable(const FileFault& fault) {
    switch (fault.cause) {
    case FileCause::FolderMissing:
    case FileCause::FileMissing:
        return QStringLiteral("がありません");
    case FileCause::IsFolder:
        return QStringLiteral("はフォルダです");
    case FileCause::NotAFile:
        return QStringLiteral("は普通のファイルではありません（パイプや装置は読みません）");
    case FileCause::NotAllowed:
        return QStringLiteral("を開けません（読み取りの権限がありません）");
    case FileCause::TooLarge:
        return QStringLiteral("は大きすぎます");
    default:
        return QStringLiteral("を読めません（") + qs(causeText(fault, {})) + QStringLiteral("）");
    }
}

ItemFileRead readItemFileAt(const QString& native) {
    FileFault fault;
    const auto text = platform::readTextAt(native, fault);
    if (!text)
        return {std::nullopt, unreadable(fault)};
    ItemDeclarations decl;
    switch (readItemFile(*text, kMaxRecordUnits, decl)) {
    case ItemRead::Ok:
        break;
    case ItemRead::ReadFailure:
        return {std::nullopt, QStringLiteral("は途中で終わっているか、項目が101を超えています")};
    case ItemRead::HeaderRejected:
        return {std::nullopt, QStringLiteral("は項目ﾌｧｲﾙの形式ではありません")};
    case ItemRead::TooLong:
        return {std::nullopt, QStringLiteral("は桁数の合計が2558バイトを超えています")};
    }
    auto layout = recordLayout(decl);
    if (!layout)
        return {std::nullopt, QStringLiteral("に負の桁数があります")};
    LogColumns columns{std::move(*layout), {}, {}, shownPath(native), {}};
    for (std::size_t i = 0; i < columns.layout.columns.size(); ++i) {
        columns.names.push_back(decl.jname[i]);
        columns.rightAligned.push_back(rightAligned(decl.jalign[i]));
    }
    return {std::move(columns), {}};
}

// The template in the application directory; in a user's data folder that
// taiju-check has not yet provisioned, the one beside the programs.
std::optional<QString> templatePath() {
    const auto appDir = platform::applicationDirectory();
    if (!appDir)
        return std::nullopt;
    const auto own = platform::toNative(joinPath(*appDir, kTemplateItemFile));
    if (own && QFileInfo(*own).isFile())
        return own;
    const QString beside = QDir(QCoreApplication::applicationDirPath())
                               .filePath(QString::fromUtf16(kTemplateItemFile));
    return QFileInfo(beside).isFile() ? std::optional<QString>(beside) : own;
}

std::optional<QString> settingsPath() {
    const auto appDir = platform::applicationDirectory();
    if (!appDir)
        return std::nullopt;
    return platform::toNative(joinPath(*appDir, kSettingsFileName));
}

QString itemFileOf(const QString& log) {
    const QFileInfo info(log);
    return info.dir().filePath(qs(itemFileName(info.fileName().toStdU16String())));
}

} // namespace

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString quoted(const QString& path) {
    return qs(taiju::quoted(path.toStdU16String()));
}

QString toolFileRefusal(const QString& target) {
    return quoted(shownPath(target)) +
           QStringLiteral("は体重チェックのファイルです。上書きしません");
}

std::optional<LogColumns> readLogColumns(const QString& log, QString& error) {
    const QString itemFile = itemFileOf(log);
    ItemFileRead own = readItemFileAt(itemFile);
    if (own.columns)
        return std::move(own.columns);
    const QString ownProblem =
        QStringLiteral("項目ﾌｧｲﾙ") + quoted(shownPath(itemFile)) + own.problem;
    const auto templ = templatePath();
    if (!templ) {
        error = ownProblem + QStringLiteral("。プログラムのフォルダ") +
                quoted(QCoreApplication::applicationDirPath()) +
                QStringLiteral("の雛形の項目ﾌｧｲﾙも使えません");
        return std::nullopt;
    }
    ItemFileRead fallback = readItemFileAt(*templ);
    if (!fallback.columns) {
        error =
            ownProblem + QStringLiteral("。雛形") + quoted(shownPath(*templ)) + fallback.problem;
        return std::nullopt;
    }
    fallback.columns->notice = ownProblem + QStringLiteral("。雛形") + quoted(shownPath(*templ)) +
                               QStringLiteral("の桁で読んでいます");
    return std::move(fallback.columns);
}

std::optional<QString> defaultLog(QString& error) {
    const auto appDir = platform::applicationDirectory();
    if (!appDir) {
        error = QStringLiteral("プログラムのフォルダ") +
                quoted(QCoreApplication::applicationDirPath()) +
                QStringLiteral("から記録ファイルの場所を決められません");
        return std::nullopt;
    }
    const std::u16string settings = joinPath(*appDir, kSettingsFileName);
    const std::u16string log = defaultLogPath(*appDir, platform::settingsFile().read);
    auto native = platform::toNative(log);
    if (!native) {
        error = QStringLiteral("設定ﾌｧｲﾙ") +
                quoted(shownPath(platform::toNative(settings).value_or(qs(settings)))) +
                QStringLiteral("の記録ファイル") + quoted(qs(log)) +
                QStringLiteral("はこのシステムのドライブにありません");
        return std::nullopt;
    }
    return native;
}

LogFile::LogFile(const QString& path) : path_(shownPath(path)) {}

QString LogFile::fileName() const {
    return QFileInfo(path_).fileName();
}

void LogFile::failed(const FileFault& fault) {
    error_ =
        QStringLiteral("記録ファイル") + quoted(path_) +
        (fault.cause == FileCause::Other ? QStringLiteral("を読み込めません") : unreadable(fault));
}

std::optional<LogColumns> LogFile::open(platform::FileReader& file) {
    if (const auto fault = file.open(path_)) {
        failed(*fault);
        return std::nullopt;
    }
    QString columnsError;
    auto columns = readLogColumns(path_, columnsError);
    if (!columns)
        error_ = QStringLiteral("記録ファイル") + quoted(path_) + QStringLiteral("を読めません: ") +
                 columnsError;
    return columns;
}

bool LogFile::readPieces(platform::FileReader& file, std::size_t pieceSize,
                         const std::function<bool(std::string_view)>& take) {
    // One buffer for every piece, so that a long log is never held whole.
    std::string piece;
    piece.reserve(pieceSize);
    for (;;) {
        if (const auto fault = file.read(pieceSize, piece)) {
            failed(*fault);
            return false;
        }
        if (piece.empty())
            break;
        if (!take(piece))
            return false;
    }
    if (const auto fault = file.stamp(stamp_)) {
        failed(*fault);
        return false;
    }
    return true;
}

bool LogFile::load() {
    platform::FileReader file;
    auto columns = open(file);
    if (!columns)
        return false;
    RecordReader reader(columns->layout, decoder_);
    std::string last;
    const bool read = readPieces(file, kPiece, [&](std::string_view bytes) {
        reader.append(bytes);
        keepTail(last, bytes);
        return true;
    });
    if (!read)
        return false;
    columns_ = std::move(columns);
    reader_.emplace(std::move(reader));
    lastBytes_ = std::move(last);
    error_.clear();
    gone_ = false;
    return true;
}

bool LogFile::stream(const std::function<bool(RecordReader&, bool)>& take,
                     std::span<const std::size_t> items) {
    platform::FileReader file;
    auto columns = open(file);
    if (!columns)
        return false;
    columns_ = std::move(columns);
    reader_.reset();
    lastBytes_.clear();
    error_.clear();
    RecordLayout layout = columns_->layout;
    for (std::size_t c = 0; !items.empty() && c < layout.columns.size(); ++c)
        if (std::find(items.begin(), items.end(), c) == items.end())
            layout.columns[c].width = 0; // nothing of it is cut out or decoded
    RecordReader reader(std::move(layout), decoder_);
    // Pieces small enough to stay in the processor's cache while their
    // records are passed on.
    const bool read = readPieces(file, 256 << 10, [&](std::string_view bytes) {
        reader.append(bytes);
        return take(reader, false);
    });
    return read && take(reader, true);
}

LogFile::Change LogFile::check() {
    platform::FileStamp now;
    if (platform::fileStamp(path_, now)) {
        gone_ = true;
        return Change::Gone;
    }
    if (!reader_ || gone_)
        return Change::Reload;
    const std::size_t known = reader_->bytesRead();
    if (now.device != stamp_.device || now.inode != stamp_.inode || now.size < known)
        return Change::Reload;
    if (now.size > known)
        return Change::Grew;
    // The same size, written anew since it was read.
    return now.modifiedNs != stamp_.modifiedNs ? Change::Reload : Change::None;
}

LogFile::Append LogFile::readAppended() {
    platform::FileReader file;
    const std::size_t known = reader_->bytesRead();
    platform::FileStamp now;
    error_.clear();
    if (auto fault = file.open(path_); fault || (fault = file.stamp(now))) {
        failed(*fault);
        return Append::Failed;
    }
    if (now.device != stamp_.device || now.inode != stamp_.inode)
        return Append::Replaced;
    if (const auto fault = file.seek(known - lastBytes_.size())) {
        failed(*fault);
        return Append::Failed;
    }
    // The bytes read before must still be there: the first piece starts with
    // them.
    bool compared = false;
    const bool read = readPieces(file, kPiece, [&](std::string_view bytes) {
        if (!compared) {
            compared = true;
            if (bytes.substr(0, lastBytes_.size()) != lastBytes_)
                return false;
            bytes.remove_prefix(lastBytes_.size());
        }
        reader_->append(bytes);
        keepTail(lastBytes_, bytes);
        return true;
    });
    if (!read)
        return error_.isEmpty() ? Append::Replaced : Append::Failed;
    return Append::Done;
}

bool LogFile::isToolFile(const QString& target) const {
    QStringList tool{path_, itemFileOf(path_)};
    if (columns_)
        tool << columns_->itemFile;
    if (auto templ = templatePath())
        tool << *templ;
    if (auto settings = settingsPath())
        tool << *settings;
    const QFileInfo t(target);
    for (const QString& f : tool) {
        const QFileInfo info(f);
        if (info.absoluteFilePath() == t.absoluteFilePath())
            return true;
        if (info.exists() && t.exists() && info.canonicalFilePath() == t.canonicalFilePath())
            return true;
    }
    return false;
}

} // namespace taiju::view
