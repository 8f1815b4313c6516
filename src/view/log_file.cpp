#include "view/log_file.h"

#include "app/settings.h"
#include "history/default_path.h"
#include "log/itemfile.h"
#include "log/paths.h"
#include "log/record.h"
#include "platform/appdir.h"
#include "platform/files.h"
#include "platform/qtext.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace taiju::view {

using platform::qs;

namespace {

// How many of the last bytes read are compared before appended bytes are
// taken, to notice a log that was replaced by another one.
constexpr qint64 kCompared = 64;

// Keeps in `tail` the last kCompared bytes of what it held and `bytes`.
void keepTail(std::string& tail, std::string_view bytes) {
    tail += bytes.substr(bytes.size() - std::min<std::size_t>(bytes.size(), kCompared));
    tail.erase(0, tail.size() - std::min<std::size_t>(tail.size(), kCompared));
}

struct ItemFileRead {
    std::optional<LogColumns> columns;
    QString problem; // why it cannot be used
};

ItemFileRead readItemFileAt(const QString& native) {
    const auto windows = platform::toWindows(QFileInfo(native).absoluteFilePath());
    const auto text = windows ? platform::readText(*windows) : std::nullopt;
    if (!text) {
        const QFileInfo info(native);
        return {std::nullopt, !info.exists() ? QStringLiteral("がありません")
                              : info.isDir() ? QStringLiteral("はフォルダです")
                                             : QStringLiteral("を読めません")};
    }
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
    return info.dir().filePath(QStringLiteral("k") + info.fileName());
}

} // namespace

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString quoted(const QString& path) {
    return QStringLiteral("「") + path + QStringLiteral("」");
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
    const std::u16string log = defaultLogPath(*appDir, platform::readSettingsStart);
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

std::optional<LogColumns> LogFile::open(QFile& file) {
    const QFileInfo info(path_);
    const QString what = QStringLiteral("記録ファイル") + quoted(path_);
    if (!info.exists()) {
        error_ = what + QStringLiteral("がありません");
        return std::nullopt;
    }
    if (info.isDir()) {
        error_ = what + QStringLiteral("はフォルダです");
        return std::nullopt;
    }
    QString columnsError;
    auto columns = readLogColumns(path_, columnsError);
    if (!columns) {
        error_ = what + QStringLiteral("を読めません: ") + columnsError;
        return std::nullopt;
    }
    file.setFileName(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = what + QStringLiteral("を開けません") +
                 (info.isReadable() ? QString() : QStringLiteral("（読み取りの権限がありません）"));
        return std::nullopt;
    }
    return columns;
}

bool LogFile::readPieces(QFile& file, qint64 pieceSize,
                         const std::function<bool(std::string_view)>& take) {
    // One buffer for every piece, so that a long log is never held whole.
    QByteArray piece(pieceSize, Qt::Uninitialized);
    for (qint64 got; (got = file.read(piece.data(), pieceSize)) != 0;) {
        if (got < 0) {
            error_ =
                QStringLiteral("記録ファイル") + quoted(path_) + QStringLiteral("を読み込めません");
            return false;
        }
        if (!take(std::string_view(piece.constData(), static_cast<std::size_t>(got))))
            return false;
    }
    return true;
}

bool LogFile::load() {
    QFile file;
    auto columns = open(file);
    if (!columns)
        return false;
    RecordReader reader(columns->layout, decoder_);
    reader.reserve(static_cast<std::size_t>(std::max<qint64>(file.size(), 0)));
    // Taken before reading: a write while it is read shows as a change.
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    std::string last;
    const bool read = readPieces(file, 1 << 20, [&](std::string_view bytes) {
        reader.append(bytes);
        keepTail(last, bytes);
        return true;
    });
    if (!read)
        return false;
    columns_ = std::move(columns);
    reader_.emplace(std::move(reader));
    lastBytes_ = std::move(last);
    modified_ = modified;
    error_.clear();
    gone_ = false;
    return true;
}

bool LogFile::stream(const std::function<bool(RecordReader&, bool)>& take) {
    QFile file;
    auto columns = open(file);
    if (!columns)
        return false;
    columns_ = std::move(columns);
    reader_.reset();
    lastBytes_.clear();
    error_.clear();
    RecordReader reader(columns_->layout, decoder_);
    // Pieces small enough to stay in the processor's cache while their
    // records are passed on.
    const bool read = readPieces(file, 256 << 10, [&](std::string_view bytes) {
        reader.append(bytes);
        return take(reader, false);
    });
    return read && take(reader, true);
}

LogFile::Change LogFile::check() {
    const QFileInfo info(path_);
    if (!info.isFile()) {
        gone_ = true;
        return Change::Gone;
    }
    if (!reader_ || gone_)
        return Change::Reload;
    const auto size = static_cast<std::size_t>(info.size());
    // A change in place keeps the size but not the time of the last write.
    if (size < reader_->bytesRead() ||
        (size == reader_->bytesRead() && info.lastModified() != modified_))
        return Change::Reload;
    return size > reader_->bytesRead() ? Change::Grew : Change::None;
}

LogFile::Append LogFile::readAppended() {
    QFile file(path_);
    const auto known = static_cast<qint64>(reader_->bytesRead());
    const auto compared = static_cast<qint64>(lastBytes_.size());
    if (!file.open(QIODevice::ReadOnly) || !file.seek(known - compared)) {
        error_ = QStringLiteral("記録ファイル") + quoted(path_) + QStringLiteral("を開けません");
        return Append::Failed;
    }
    const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error_ =
            QStringLiteral("記録ファイル") + quoted(path_) + QStringLiteral("を読み込めません");
        return Append::Failed;
    }
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (view.substr(0, lastBytes_.size()) != lastBytes_)
        return Append::Replaced;
    const std::string_view appended = view.substr(lastBytes_.size());
    reader_->append(appended);
    keepTail(lastBytes_, appended);
    modified_ = modified;
    error_.clear();
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
