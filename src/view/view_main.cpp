// SPDX-License-Identifier: MIT
// Starts the viewer taiju-view: the window of a log, or its CSV or chart
// picture written without a window.
//
//   taiju-view [LOG]              the window
//   taiju-view --csv [LOG]        the log as CSV (UTF-8) on standard output
//   taiju-view --png FILE [--range 1m|3m|6m|1y|all | --from DATE --to DATE] [LOG]
//                                 the chart of that range (default all) as a
//                                 1200x800 PNG picture
//   taiju-view --summary [LOG]    the figures of 統計 as key<TAB>value lines
//   taiju-view --help | --version
//
// Exit status: 0 done, 1 the log or its columns cannot be read, or memory ran
// out (one line on standard error names the file and the reason), 2 a usage
// error.

#include "history/csv.h"
#include "history/stats.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/language.h"
#include "view/goal_settings.h"
#include "view/log_chart.h"
#include "view/log_file.h"
#include "view/log_viewer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <unistd.h>

namespace {

using namespace taiju;

enum class Mode { Window, Csv, Png, Summary, Text };

// Whether `a` is one of the options choosing the picture's range.
bool rangeOption(const char* a) {
    for (const char* name : {"--range", "--from", "--to"}) {
        const std::size_t n = std::strlen(name);
        if (std::strncmp(a, name, n) == 0 && (a[n] == '\0' || a[n] == '='))
            return true;
    }
    return false;
}

// What the arguments ask for, looked at before Qt starts: the CSV, the
// summary, help and version need no GUI application, the picture needs no
// display.
Mode modeOf(int argc, char** argv) {
    bool csv = false, png = false, summary = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "--csv") == 0)
            csv = true;
        else if (std::strcmp(a, "--summary") == 0)
            summary = true;
        else if (std::strcmp(a, "--png") == 0 || std::strncmp(a, "--png=", 6) == 0)
            png = true;
        else if (rangeOption(a))
            continue; // checked with the other arguments once Qt has started
        else if (a[0] == '-' && a[1] != '\0')
            return Mode::Text; // help, version, or an unknown option
    }
    if (csv + png + summary > 1)
        return Mode::Text;
    return csv ? Mode::Csv : png ? Mode::Png : summary ? Mode::Summary : Mode::Window;
}

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

void say(const QString& line) {
    std::fputs(("taiju-view: " + line + "\n").toLocal8Bit().constData(), stderr);
}

// Ends the program when memory runs out: one line, exit status 1. Writes
// with no memory of its own, for there is none.
[[noreturn]] void outOfMemory() {
    static const char line[] = "taiju-view: メモリが足りません。記録ファイルが大きすぎます\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line, sizeof line - 1);
    std::_Exit(1);
}

int usageError(const QString& what) {
    say(what + QStringLiteral("（使い方: taiju-view --help）"));
    return 2;
}

// The irregular lines of a log read in pieces, told on standard error once
// they are all counted, with the first of them.
class IrregularLines {
  public:
    void count(const LogRecords& records, std::size_t count) {
        for (std::size_t r = 0; r < count; ++r) {
            if (!records.line(r).irregular)
                continue;
            if (++count_ <= kListed + 1)
                lines_.push_back(records.line(r).line);
        }
    }
    void tell(const QString& path) const {
        if (count_)
            say(QStringLiteral("記録ファイル「%1」の長さの不規則な行 %2 行: %3 行目")
                    .arg(path)
                    .arg(count_)
                    .arg(view::listedLines(lines_, kListed)));
    }

  private:
    static constexpr std::size_t kListed = 20;
    std::size_t count_ = 0;
    std::vector<std::size_t> lines_; // the first kListed + 1
};

// Writes the CSV of each piece of the log as soon as it is read, so that a
// long log is never held whole; what the user should know goes to standard
// error, the irregular lines once they are all counted.
int writeCsv(const QString& path) {
#ifdef _WIN32
    // The CSV's line ends are CR LF already: a text-mode stdout would write CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    view::LogFile file(path);
    view::CsvWriter csv(view::CsvForm::Exact, [](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    });
    IrregularLines irregular;
    bool started = false;
    const bool read = file.stream([&](RecordReader& reader, bool atEnd) {
        if (!started) {
            started = true;
            if (!file.columns()->notice.isEmpty())
                say(file.columns()->notice);
            csv.header(file.columns()->names);
        }
        const LogRecords& records = reader.records();
        const std::size_t count = atEnd ? records.size() : reader.completeRecords();
        irregular.count(records, count);
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
    irregular.tell(file.path());
    if (!csv.finish() || std::fflush(stdout) != 0) {
        say(QStringLiteral("CSV を標準出力に書き出せませんでした"));
        return 1;
    }
    return 0;
}

// The figures of the whole log, read piece by piece and only the columns
// they need: a log in date order is summed up as it is read, holding
// nothing; a log out of order is read again, its dated records held and put
// in order. The goal as the window takes it.
int writeSummary(const QString& path) {
    view::LogFile file(path);
    view::LogSummary summary;
    bool collecting = false;              // the log is out of order
    std::vector<view::DatedRecord> dated; // then its dated records
    bool noticed = false;
    auto take = [&](RecordReader& reader, bool atEnd) {
        if (!noticed && !file.columns()->notice.isEmpty())
            say(file.columns()->notice);
        noticed = true;
        const LogRecords& records = reader.records();
        const std::size_t count = atEnd ? records.size() : reader.completeRecords();
        if (collecting)
            view::appendDated(records, count, 0, dated);
        else if (!summary.addRecords(records, count))
            return false; // read again, holding the records
        reader.forgetCompleteRecords();
        return true;
    };
    bool read = file.stream(take, view::LogSummary::itemsRead());
    if (!read && file.error().isEmpty()) {
        collecting = true;
        read = file.stream(take, view::LogSummary::itemsRead());
    }
    if (!read) {
        say(file.error());
        return 1;
    }
    const view::Figures figures =
        collecting ? view::figuresInOrder(std::move(dated)) : summary.finish();
    std::optional<double> goal = view::storedGoal(file.path());
    if (!goal)
        goal = figures.latestStandard;
    const std::string text = view::summaryText(figures, goal);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        say(QStringLiteral("集計を標準出力に書き出せませんでした"));
        return 1;
    }
    return 0;
}

// Draws the picture of the range, reading the log piece by piece so that
// only its dated records are held.
int writePng(const QString& target, const QString& path, const view::ChartRange& range) {
    view::LogFile file(path);
    std::vector<view::DatedRecord> dated;
    std::size_t base = 0; // the records handed on before this piece
    IrregularLines irregular;
    bool started = false;
    const bool read = file.stream(
        [&](RecordReader& reader, bool atEnd) {
            if (!started) {
                started = true;
                if (!file.columns()->notice.isEmpty())
                    say(file.columns()->notice);
                // Room for as many records as the log has lines.
                const auto lineLength = std::max<std::size_t>(file.columns()->layout.lineLength, 1);
                dated.reserve(static_cast<std::size_t>(QFileInfo(file.path()).size()) / lineLength);
            }
            const LogRecords& records = reader.records();
            const std::size_t count = atEnd ? records.size() : reader.completeRecords();
            irregular.count(records, count);
            view::appendDated(records, count, base, dated);
            base += count;
            reader.forgetCompleteRecords();
            return true;
        },
        view::datedItems());
    if (!read) {
        say(file.error());
        return 1;
    }
    irregular.tell(file.path());
    if (file.isToolFile(target))
        return usageError(view::toolFileRefusal(target));
    const std::size_t undated = base - dated.size();
    const view::ChartData data = view::chartData(std::move(dated), undated);
    if (!view::rangeHoldsRecords(data, range)) {
        say(QStringLiteral("記録ファイル「%1」には、その期間に日付の読める記録がありません")
                .arg(file.path()));
        return 1;
    }
    if (!view::LogChart::savePicture(nullptr, target, range, &data,
                                     view::storedGoal(file.path()))) {
        say(QStringLiteral("PNG 画像「%1」を書き出せません").arg(view::shownPath(target)));
        return 1;
    }
    return 0;
}

// The options the command line knows, with their help texts.
struct Options {
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("この説明を表示して終わります。")};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("版を表示して終わります。")};
    QCommandLineOption csv{
        QStringLiteral("csv"),
        QStringLiteral("記録を CSV (UTF-8) で標準出力に書き出して終わります。"
                       "記録の文字をそのまま書きます（表計算ソフト向けの、式にならない形は"
                       "画面の「CSV に書き出す」です）。")};
    QCommandLineOption png{
        QStringLiteral("png"),
        QStringLiteral("グラフを 1200x800 の PNG 画像として FILE に書き出して終わります。"),
        QStringLiteral("FILE")};
    QCommandLineOption range{
        QStringLiteral("range"),
        QStringLiteral("--png の期間: 最後の記録までの 1m (1か月)、3m、6m、1y (1年)、"
                       "all (全期間、既定)。"),
        QStringLiteral("SPAN")};
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("--png の期間の開始日 (YYYY-MM-DD、--to と共に)。"),
                            QStringLiteral("DATE")};
    QCommandLineOption to{QStringLiteral("to"),
                          QStringLiteral("--png の期間の終了日 (YYYY-MM-DD、その日を含む)。"),
                          QStringLiteral("DATE")};
    QCommandLineOption summary{
        QStringLiteral("summary"),
        QStringLiteral(
            "記録全体の統計を「キー<TAB>値」の行 (UTF-8) で標準出力に書き出して終わります。"
            "キーはこの順: records (数えた記録の数), first, last (最初と最後の日付), "
            "latest (最新の体重), trend (傾向), change_7d, change_30d, change_365d "
            "(傾向のその日数の変化), rate_per_week (28 日間の傾向から見た 1 週間の変化), "
            "min, min_date, max, max_date, mean (平均), outliers (外れ値として除いた数), "
            "goal (目標体重), goal_remaining (目標までの差), goal_date (到達の見込み年月)。"
            "日付は YYYY-MM-DD (goal_date は YYYY-MM)、kg は小数 1 桁、rate_per_week は 2 桁。"
            "求められない値は空です。")};
};

void describe(QCommandLineParser& parser, const Options& options) {
    parser.setApplicationDescription(
        QStringLiteral("体重チェックの記録ファイルを一覧とグラフで見せます。"
                       "記録が書き足されると、そのまま表示に加わります。\n"
                       "終了コード: 0 成功、1 記録ファイルか項目ﾌｧｲﾙを読めない、"
                       "または --png の期間に日付の読める記録がない、2 使い方の誤り\n"
                       "グラフ: ホイールとドラッグ、+ − ← → で拡大・移動、Home で全期間、"
                       "Shift+← → で記録を順に読み上げ、Enter かクリックでその記録を一覧に表示"));
    parser.addOptions({options.help, options.version, options.csv, options.png, options.summary,
                       options.range, options.from, options.to});
    parser.addPositionalArgument(
        QStringLiteral("LOG"),
        QStringLiteral("記録ファイル。省略すると体重チェックが記入する記録ファイル。"),
        QStringLiteral("[LOG]"));
}

// Parses the arguments; help and version end the program here. A message
// of the usage error, or empty when the arguments are sound.
QString parseArguments(QCommandLineParser& parser, const Options& options, Mode mode) {
    if (!parser.parse(QCoreApplication::arguments()))
        return parser.errorText();
    if (parser.isSet(options.help))
        parser.showHelp(0);
    if (parser.isSet(options.version))
        parser.showVersion();
    if (parser.positionalArguments().size() > 1)
        return QStringLiteral("記録ファイルは一つだけ指定できます");
    if (parser.isSet(options.csv) + parser.isSet(options.png) + parser.isSet(options.summary) > 1)
        return QStringLiteral("--csv、--png、--summary は一つだけ使えます");
    if (mode == Mode::Text) // an option the pre-scan did not know
        return QStringLiteral("引数を解釈できません");
    const bool ranged =
        parser.isSet(options.range) || parser.isSet(options.from) || parser.isSet(options.to);
    if (ranged && !parser.isSet(options.png))
        return QStringLiteral("--range、--from、--to は --png と共に使います");
    return {};
}

// A date YYYY-MM-DD, or an invalid date.
QDate isoDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    return form.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
}

// The picture's range from --range or --from and --to; nothing, with the
// usage error in `error`, when they do not read.
std::optional<view::ChartRange> pictureRange(const QCommandLineParser& parser,
                                             const Options& options, QString& error) {
    const bool dates = parser.isSet(options.from) || parser.isSet(options.to);
    if (parser.isSet(options.range)) {
        const QString span = parser.value(options.range);
        if (dates)
            error = QStringLiteral("--range と --from/--to は同時に使えません");
        else if (!view::isSpanName(span))
            error = QStringLiteral("期間「%1」を解釈できません（1m、3m、6m、1y、all のどれか）")
                        .arg(span);
        return error.isEmpty() ? std::optional(view::ChartRange{span, {}, {}}) : std::nullopt;
    }
    if (!dates)
        return view::ChartRange{};
    const QDate from = isoDate(parser.value(options.from));
    const QDate to = isoDate(parser.value(options.to));
    if (!parser.isSet(options.from) || !parser.isSet(options.to))
        error = QStringLiteral("--from と --to は二つ揃えて指定します");
    else if (!from.isValid() || !to.isValid())
        error = QStringLiteral("日付「%1」を解釈できません（YYYY-MM-DD）")
                    .arg(parser.value(from.isValid() ? options.to : options.from));
    else if (from > to)
        error = QStringLiteral("開始日 %1 が終了日 %2 より後です")
                    .arg(parser.value(options.from), parser.value(options.to));
    if (!error.isEmpty())
        return std::nullopt;
    return view::ChartRange{QStringLiteral("custom"), from, to};
}

// The log named on the command line, or the one the main program writes
// to; nothing, said on standard error, when that cannot be found.
std::optional<QString> logToShow(const QStringList& logs) {
    if (!logs.isEmpty())
        return logs.first();
    QString error;
    const auto found = view::defaultLog(error);
    if (!found)
        say(error);
    return found;
}

int showWindow(QCoreApplication& app, const QString& log) {
    view::LogViewer viewer(log);
    if (!viewer.file().error().isEmpty())
        say(viewer.file().error());
    viewer.show();
    return app.exec();
}

int run(QCoreApplication& app, Mode mode) {
    QCoreApplication::setApplicationName(QStringLiteral("taiju-view"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAIJU_VERSION));
    platform::useJapaneseQtTranslations(app);

    QCommandLineParser parser;
    const Options options;
    describe(parser, options);
    QString error = parseArguments(parser, options, mode);
    const auto range = pictureRange(parser, options, error);
    if (!error.isEmpty())
        return usageError(error);
    const auto log = logToShow(parser.positionalArguments());
    if (!log)
        return 1;
    if (mode == Mode::Csv)
        return writeCsv(*log);
    if (mode == Mode::Summary)
        return writeSummary(*log);
    useWindowFonts();
    if (mode == Mode::Png)
        return writePng(parser.value(options.png), *log, *range);
    return showWindow(app, *log);
}

} // namespace

int main(int argc, char** argv) try {
    // An export beyond the file-size limit fails with a message, not a kill.
    taiju::platform::ignoreFileSizeSignal();
    std::set_new_handler(outOfMemory);
    const Mode mode = modeOf(argc, argv);
    if (mode == Mode::Csv || mode == Mode::Summary || mode == Mode::Text) {
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
} catch (const std::bad_alloc&) {
    outOfMemory();
}
