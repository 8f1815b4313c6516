#include "view/log_viewer.h"

#include "history/csv.h"
#include "view/log_chart.h"
#include "view/log_table.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

namespace taiju::view {

namespace {

// How often the log's size is looked at, besides the watcher's signals.
constexpr int kFollowMs = 500;
const QString kExportTitle = QStringLiteral("書き出しエラー");

bool writeFile(const QString& target, const QByteArray& bytes, QString& error) {
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = quoted(shownPath(target)) + QStringLiteral("に書き出せませんでした");
        return false;
    }
    return true;
}

} // namespace

QString listedLines(const std::vector<std::size_t>& lines, std::size_t limit) {
    QStringList numbers;
    for (std::size_t i = 0; i < lines.size() && i < limit; ++i)
        numbers << QString::number(lines[i]);
    if (lines.size() > limit && !numbers.isEmpty())
        numbers.last() += QStringLiteral("…");
    return numbers.join(QStringLiteral(", "));
}

QString irregularLines(const LogRecords& records, std::size_t limit) {
    std::vector<std::size_t> lines;
    for (std::size_t r = 0; r < records.size() && lines.size() <= limit; ++r)
        if (records.line(r).irregular)
            lines.push_back(records.line(r).line);
    return listedLines(lines, limit);
}

LogViewer::LogViewer(const QString& log, QWidget* parent) : QMainWindow(parent) {
    model_ = new LogTableModel(this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("table"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    // Rows of one height, so that a long log needs no measuring.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    chart_ = new LogChart;
    chart_->setObjectName(QStringLiteral("chart"));
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(table_, QStringLiteral("一覧"));
    tabs_->addTab(chart_, QStringLiteral("グラフ"));
    setCentralWidget(tabs_);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    // One line that never widens the window; the whole text is its tooltip.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(status_, 1);

    auto* open = new QAction(QStringLiteral("開く(&O)..."), this);
    open->setObjectName(QStringLiteral("actionOpen"));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, &LogViewer::chooseLog);
    auto* csv = new QAction(QStringLiteral("CSV に書き出す(&C)..."), this);
    csv->setObjectName(QStringLiteral("actionExportCsv"));
    connect(csv, &QAction::triggered, this, &LogViewer::chooseCsv);
    auto* png = new QAction(QStringLiteral("グラフを PNG に書き出す(&P)..."), this);
    png->setObjectName(QStringLiteral("actionExportPng"));
    connect(png, &QAction::triggered, this, &LogViewer::choosePng);
    auto* again = new QAction(QStringLiteral("再読み込み(&R)"), this);
    again->setObjectName(QStringLiteral("actionReload"));
    again->setShortcut(QKeySequence::Refresh);
    connect(again, &QAction::triggered, this, &LogViewer::reload);
    auto* quit = new QAction(QStringLiteral("終了(&X)"), this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    menu->addActions({open, csv, png, again});
    menu->addSeparator();
    menu->addAction(quit);
    QToolBar* tools = addToolBar(QStringLiteral("操作"));
    tools->setObjectName(QStringLiteral("tools"));
    tools->setMovable(false);
    tools->addActions({open, csv, png, again});

    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &LogViewer::follow);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &LogViewer::follow);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &LogViewer::follow);
    timer_->start(kFollowMs);

    resize(900, 600);
    openLog(log);
}

LogViewer::~LogViewer() {
    // The table, a child widget, goes after the log it shows and may still
    // ask for its rows while it is hidden.
    model_->beginShowing();
    model_->endShowing(nullptr);
}

void LogViewer::openLog(const QString& log) {
    model_->beginShowing();
    file_ = std::make_unique<LogFile>(log);
    setWindowTitle(QStringLiteral("体重ログ - ") + file_->fileName());
    load();
}

void LogViewer::reload() {
    model_->beginShowing();
    load();
}

void LogViewer::load() {
    gone_ = false;
    file_->load();
    model_->endShowing(file_.get());
    showRecords();
    table_->scrollToBottom();
    watchLog();
}

void LogViewer::follow() {
    switch (file_->check()) {
    case LogFile::Change::None:
        return;
    case LogFile::Change::Gone:
        if (!gone_) {
            gone_ = true;
            showStatus();
        }
        return;
    case LogFile::Change::Reload:
        reload();
        return;
    case LogFile::Change::Grew:
        break;
    }
    switch (file_->readAppended()) {
    case LogFile::Append::Done: {
        const QScrollBar* bar = table_->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        model_->recordsAdded();
        chart_->showRecords(file_->records());
        showStatus();
        if (atEnd)
            table_->scrollToBottom();
        watchLog();
        return;
    }
    case LogFile::Append::Replaced:
        reload();
        return;
    case LogFile::Append::Failed:
        showStatus();
        return;
    }
}

void LogViewer::showRecords() {
    chart_->showRecords(file_->records());
    if (const LogColumns* columns = file_->columns()) {
        // Columns as wide as their declared bytes, at least as their names.
        const int digit = table_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        for (int c = 0; c < model_->columnCount(); ++c) {
            const auto item = static_cast<std::size_t>(c) + 1;
            const int bytes =
                static_cast<int>(std::min<std::size_t>(columns->layout.columns[item].width, 60));
            table_->setColumnWidth(
                c, std::max(digit * bytes, table_->horizontalHeader()->sectionSizeHint(c)) + 12);
        }
    }
    showStatus();
}

QString LogViewer::statusText() const {
    QStringList parts{file_->path()};
    if (const LogRecords* records = file_->records()) {
        parts << QStringLiteral("記録 %1 件").arg(records->size());
        QString irregular = QStringLiteral("長さの不規則な行 %1").arg(records->irregularCount());
        if (records->irregularCount() > 0)
            irregular += QStringLiteral("（%1 行目）").arg(irregularLines(*records, 10));
        parts << irregular;
        parts << QStringLiteral("日付の読めない記録 %1").arg(undatedRecords(*records));
    }
    if (const LogColumns* columns = file_->columns(); columns && !columns->notice.isEmpty())
        parts << columns->notice;
    if (gone_ && file_->records())
        parts << QStringLiteral("記録ファイルが見つかりません（最後に読んだ内容を表示しています）");
    else if (!file_->error().isEmpty())
        parts << file_->error();
    return parts.join(QStringLiteral("　"));
}

void LogViewer::showStatus() {
    const QString text = statusText();
    status_->setText(text);
    status_->setToolTip(text);
}

void LogViewer::watchLog() {
    const QStringList watched = watcher_->files() + watcher_->directories();
    const QString folder = QFileInfo(file_->path()).absolutePath();
    QStringList wanted{folder};
    if (QFileInfo(file_->path()).isFile())
        wanted << file_->path();
    for (const QString& path : watched)
        if (!wanted.contains(path))
            watcher_->removePath(path);
    for (const QString& path : wanted)
        if (!watched.contains(path))
            watcher_->addPath(path);
}

bool LogViewer::exportCsv(const QString& target, QString& error) {
    const LogRecords* records = file_->records();
    if (!records) {
        error = QStringLiteral("書き出す記録がありません");
        return false;
    }
    if (file_->isToolFile(target)) {
        error = toolFileRefusal(target);
        return false;
    }
    const std::string text = csvText(file_->columns()->names, *records, CsvForm::Spreadsheet);
    return writeFile(target, QByteArray::fromRawData(text.data(), qsizetype(text.size())), error);
}

bool LogViewer::exportPng(const QString& target, QString& error) {
    if (file_->isToolFile(target)) {
        error = toolFileRefusal(target);
        return false;
    }
    if (!LogChart::savePicture(file_->records(), target)) {
        error = quoted(shownPath(target)) + QStringLiteral("に書き出せませんでした");
        return false;
    }
    return true;
}

QString LogViewer::exportBase() const {
    const QFileInfo log(file_->path());
    return log.dir().filePath(log.completeBaseName());
}

void LogViewer::chooseLog() {
    const QString log =
        QFileDialog::getOpenFileName(this, QStringLiteral("記録ファイルを開く"), file_->path(),
                                     QStringLiteral("記録ファイル (*.txt);;すべてのファイル (*)"));
    if (log.isEmpty())
        return;
    openLog(log);
    if (!file_->records())
        QMessageBox::warning(this, QStringLiteral("記録ファイルを開けません"), file_->error());
}

void LogViewer::chooseCsv() {
    const QString target = QFileDialog::getSaveFileName(this, QStringLiteral("CSV に書き出す"),
                                                        exportBase() + QStringLiteral(".csv"),
                                                        QStringLiteral("CSV (*.csv)"));
    QString error;
    if (!target.isEmpty() && !exportCsv(target, error))
        QMessageBox::warning(this, kExportTitle, error);
}

void LogViewer::choosePng() {
    const QString target = QFileDialog::getSaveFileName(
        this, QStringLiteral("グラフを PNG に書き出す"), exportBase() + QStringLiteral(".png"),
        QStringLiteral("PNG 画像 (*.png)"));
    QString error;
    if (!target.isEmpty() && !exportPng(target, error))
        QMessageBox::warning(this, kExportTitle, error);
}

} // namespace taiju::view
