#include "platform/files.h"

#include "platform/encoding.h"
#include "platform/winpath.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace taiju::platform {
namespace {

constexpr qint64 kMaxTextFile = 16 * 1024 * 1024;

bool flushToDisk(QFile& file) {
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

bool writeWhole(const QString& native, const QByteArray& bytes) {
    if (QFileInfo(native).isDir())
        return false;
    QFile file(native);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = file.write(bytes) == bytes.size() && flushToDisk(file);
    file.close();
    return ok;
}

} // namespace

std::optional<std::u16string> readText(std::u16string_view path) {
    auto native = toNative(path);
    if (!native || !QFileInfo(*native).isFile())
        return std::nullopt;
    QFile file(*native);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTextFile)
        return std::nullopt;
    QByteArray bytes = file.read(kMaxTextFile + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxTextFile)
        return std::nullopt;
    return decodeCp932(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool writeLines(std::u16string_view path, const std::vector<std::u16string>& lines) {
    auto native = toNative(path);
    if (!native)
        return false;
    std::string bytes;
    for (const auto& line : lines) {
        bytes += encodeCp932(line);
        bytes += "\r\n";
    }
    return writeWhole(*native, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

AppendResult appendBytes(std::u16string_view path, std::string_view bytes) {
    auto native = toNative(path);
    if (!native || QFileInfo(*native).isDir())
        return AppendResult::CannotOpen;
    QFile file(*native);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return AppendResult::CannotOpen;
    const qint64 before = file.size();
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size()) || !flushToDisk(file)) {
        file.resize(before);
        file.close();
        return AppendResult::WriteFailed;
    }
    file.close();
    return AppendResult::Written;
}

bool copyFile(std::u16string_view from, std::u16string_view to) {
    auto source = toNative(from);
    auto target = toNative(to);
    if (!source || !target || !QFileInfo(*source).isFile())
        return false;
    QFile in(*source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = in.readAll();
    bool readOk = in.error() == QFileDevice::NoError;
    in.close();
    return readOk && writeWhole(*target, bytes);
}

} // namespace taiju::platform
