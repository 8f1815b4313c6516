// Starts the viewer taiju-view: the window of a log, or its CSV or chart
// picture written without a window.
//
//   taiju-view [LOG]              the window
//   taiju-view --csv [LOG]        the log as CSV (UTF-8) on standard output
//   taiju-view --png FILE [LOG]   the chart as a 1200x800 PNG picture
//   taiju-view --help | --version
//
// Exit status: 0 done, 1 the log or its columns cannot be read (one line on
// standard error names the file and the reason), 2 a usage error.

#include "history/csv.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/language.h"
#include "text/encoding.h"
#include "view/log_chart.h"
#include "view/log_file.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace taiju;

enum class Mode { Window, Csv, Png, Text };

// What the arguments ask for, looked at before Qt starts: the CSV, help and
// version need no GUI application, the picture needs no display.
Mode modeOf(int argc, char** argv) {
    bool csv = false, png = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "--csv") == 0)
            csv = true;
        else if (std::strcmp(a, "--png") == 0 || std::strncmp(a, "--png=", 6) == 0)
            png = true;
        else if (a[0] == '-' && a[1] != '\0')
            return Mode::Text; // help, version, or an unknown option
    }
    if (csv && png)
        return Mode::Text;
    return csv ? Mode::Csv : png ? Mode::Png : Mode::Window;
}

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

void say(const QString& line) {
    std::fputs(("taiju-view: " + line + "\n").toLocal8Bit().constData(), stderr);
}

int usageError(const QString& what) {
    say(what + QStringLiteral("（使い方: taiju-view --help）"));
    return 2;
}

// Reads the log for --csv and --png; tells on standard error what the user
// should know. Nothing when it cannot be read.
std::unique_ptr<view::LogFile> readLog(const QString& path) {
    auto file = std::make_unique<view::LogFile>(path);
    if (!file->load()) {
        say(file->error());
        return nullptr;
    }
    if (!file->columns()->notice.isEmpty())
        say(file->columns()->notice);
    if (const std::size_t n = file->records()->irregularCount())
        say(QStringLiteral("記録ファイル「%1」の長さの不規則な行 %2 行: %3 行目")
                .arg(file->path())
                .arg(n)
                .arg(view::irregularLines(*file->records(), 20)));
    return file;
}

// Writes the CSV of each piece of the log as soon as it is read, so that a
// long log is never held whole; what the user should know goes to standard
// error, the irregular lines once they are all counted.
int writeCsv(const QString& path) {
    view::LogFile file(path);
    view::CsvWriter csv([](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    constexpr std::size_t kListed = 20;
    std::size_t irregular = 0;
    std::vector<std::size_t> irregularLines; // the first kListed + 1
    bool started = false;
    const bool read = file.stream([&](RecordReader& reader, bool atEnd) {
        if (!started) {
            started = true;
            if (!file.columns()->notice.isEmpty())
                say(file.columns()->notice);
            csv.header(file.columns()->names, false);
        }
        const LogRecords& records = reader.records();
        const std::size_t count = atEnd ? records.size() : reader.completeRecords();
        for (std::size_t r = 0; r < count; ++r) {
            if (!records.line(r).irregular)
                continue;
            if (++irregular <= kListed + 1)
                irregularLines.push_back(records.line(r).line);
        }
        // After a failed write the log is still read to its end, so that the
        // irregular lines are all counted.
        csv.records(records, count);
        reader.forgetCompleteRecords();
        return true;
    });
    if (!read) {
        say(file.error());
        return 1;
    }
    if (irregular)
        say(QStringLiteral("記録ファイル「%1」の長さの不規則な行 %2 行: %3 行目")
                .arg(file.path())
                .arg(irregular)
                .arg(view::listedLines(irregularLines, kListed)));
    if (!csv.finish() || std::fflush(stdout) != 0) {
        say(QStringLiteral("CSV を標準出力に書き出せませんでした"));
        return 1;
    }
    return 0;
}

int writePng(const QString& target, const QString& path) {
    const auto file = readLog(path);
    if (!file)
        return 1;
    if (file->isToolFile(target))
        return usageError(view::toolFileRefusal(target));
    if (!view::LogChart::savePicture(file->records(), target)) {
        say(QStringLiteral("PNG 画像「%1」を書き出せません").arg(view::shownPath(target)));
        return 1;
    }
    return 0;
}

int run(QCoreApplication& app, Mode mode) {
    QCoreApplication::setApplicationName(QStringLiteral("taiju-view"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAIJU_VERSION));
    platform::useJapaneseQtTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("体重チェックの記録ファイルを一覧とグラフで見せます。"
                       "記録が書き足されると、そのまま表示に加わります。\n"
                       "終了コード: 0 成功、1 記録ファイルか項目ﾌｧｲﾙを読めない、2 使い方の誤り"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示して終わります。"));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("版を表示して終わります。"));
    parser.addOption(help);
    parser.addOption(version);
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QStringLiteral("記録を CSV (UTF-8) で標準出力に書き出して終わります。"));
    const QCommandLineOption png(
        QStringLiteral("png"),
        QStringLiteral("グラフを 1200x800 の PNG 画像として FILE に書き出して終わります。"),
        QStringLiteral("FILE"));
    parser.addOption(csv);
    parser.addOption(png);
    parser.addPositionalArgument(
        QStringLiteral("LOG"),
        QStringLiteral("記録ファイル。省略すると体重チェックが記入する記録ファイル。"),
        QStringLiteral("[LOG]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();
    const QStringList logs = parser.positionalArguments();
    if (logs.size() > 1)
        return usageError(QStringLiteral("記録ファイルは一つだけ指定できます"));
    if (parser.isSet(csv) && parser.isSet(png))
        return usageError(QStringLiteral("--csv と --png は同時に使えません"));
    if (mode == Mode::Text) // an option the pre-scan did not know
        return usageError(QStringLiteral("引数を解釈できません"));

    if (!platform::cp932Available()) {
        say(QStringLiteral("この Qt には Shift_JIS (windows-31j) の変換がありません"));
        return 1;
    }
    QString log;
    if (logs.isEmpty()) {
        QString error;
        const auto found = view::defaultLog(error);
        if (!found) {
            say(error);
            return 1;
        }
        log = *found;
    } else {
        log = logs.first();
    }

    if (mode == Mode::Csv)
        return writeCsv(log);
    useWindowFonts();
    if (mode == Mode::Png)
        return writePng(parser.value(png), log);
    view::LogViewer viewer(log);
    if (!viewer.file().error().isEmpty())
        say(viewer.file().error());
    viewer.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    // An export beyond the file-size limit fails with a message, not a kill.
    taiju::platform::ignoreFileSizeSignal();
    const Mode mode = modeOf(argc, argv);
    if (mode == Mode::Csv || mode == Mode::Text) {
        QCoreApplication app(argc, argv);
        return run(app, mode);
    }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!envSet("QT_QPA_PLATFORM")) {
        // The picture is drawn the same with or without a display.
        if (mode == Mode::Png)
            qputenv("QT_QPA_PLATFORM", "offscreen");
        else if (!envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY")) {
            std::fputs("taiju-view: 画面がありません (DISPLAY も WAYLAND_DISPLAY もありません)。"
                       "--csv か --png を使ってください\n",
                       stderr);
            return 1;
        }
    }
#endif
    // The desktop matches the window to its launcher and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("taiju-view"));
    QApplication app(argc, argv);
    return run(app, mode);
}
