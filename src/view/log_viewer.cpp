// SPDX-License-Identifier: MIT
#include "view/log_viewer.h"

#include "history/csv.h"
#include "history/stamp.h"
#include "platform/qtext.h"
#include "view/log_chart.h"
#include "view/log_table.h"
#include "view/stats_view.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

// The tool's icon, compiled into the viewer too.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace taiju::view {

namespace {

QIcon toolIcon() {
    QIcon icon;
    for (const char* size : {"16", "32"}) {
        QImageReader reader(QStringLiteral(":/icons/form1-%1.xpm").arg(QLatin1String(size)), "xpm");
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

// How often the log's size is looked at, besides the watcher's signals.
constexpr int kFollowMs = 500;
const QString kExportTitle = QStringLiteral("書き出しエラー");
const QString kNoRecords =
    QStringLiteral("まだ記録がありません。体重チェックで「記入」すると、ここに表示されます。");

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
    initIconResources();
    setWindowIcon(toolIcon());
    model_ = new LogTableModel(this);
    auto* recordBar = new QScrollBar(Qt::Vertical);
    recordBar->setObjectName(QStringLiteral("recordBar"));
    table_ = new LogTableView(model_, recordBar);
    table_->setObjectName(QStringLiteral("table"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    // Rows of one height, so that a long log needs no measuring.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Tab moves on to the next control, not from cell to cell.
    table_->setTabKeyNavigation(false);
    // A click on a header puts the rows in that column's order.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSectionsClickable(true);
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, table_,
            &LogTableView::sortBy);
    chart_ = new LogChart;
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->useSettings(&settings_);
    connect(chart_, &LogChart::recordChosen, this, &LogViewer::showRecord);
    // The toggle 外れ値を含める holds for the table and 統計 as for the chart.
    model_->setIncludeOutliers(chart_->includeOutliers());
    connect(chart_, &LogChart::includeOutliersChanged, this, &LogViewer::includeOutliers);
    connect(chart_, &LogChart::viewChanged, this, &LogViewer::showStatsRange);
    // An empty or missing log says so in place of the table.
    tableEmpty_ = new QLabel(kNoRecords);
    tableEmpty_->setObjectName(QStringLiteral("tableEmpty"));
    tableEmpty_->setAlignment(Qt::AlignCenter);
    tableEmpty_->setWordWrap(true);
    // The scroll bar over all records of a long log, beside the table.
    auto* tableBox = new QWidget;
    auto* tableRow = new QHBoxLayout(tableBox);
    tableRow->setContentsMargins(0, 0, 0, 0);
    tableRow->setSpacing(0);
    tableRow->addWidget(table_, 1);
    tableRow->addWidget(recordBar);
    auto* tablePage = new QStackedWidget;
    tablePage->addWidget(tableBox);
    tablePage->addWidget(tableEmpty_);
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    stats_ = new StatsView;
    stats_->setObjectName(QStringLiteral("stats"));
    tabs_->addTab(tablePage, QStringLiteral("一覧(&L)"));
    tabs_->addTab(chart_, QStringLiteral("グラフ(&G)"));
    tabs_->addTab(stats_, QStringLiteral("統計(&S)"));
    // A goal set in 統計 is drawn in the chart.
    connect(stats_, &StatsView::goalChanged, chart_, &LogChart::setGoal);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    // The notices wrap, never cut, and never widen the window.
    status_->setWordWrap(true);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setAccessibleName(QStringLiteral("お知らせ"));
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_, 1);
    layout->addWidget(makeFindBar());
    layout->addWidget(status_);
    setCentralWidget(central);

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
    auto* find = new QAction(QStringLiteral("コメントを検索(&F)..."), this);
    find->setObjectName(QStringLiteral("actionFind"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] {
        findBar_->show();
        findEdit_->setFocus();
        findEdit_->selectAll();
    });
    auto* next = new QAction(QStringLiteral("次を検索(&N)"), this);
    next->setShortcut(QKeySequence::FindNext);
    connect(next, &QAction::triggered, this, [this] { findComment(findEdit_->text(), true); });
    auto* previous = new QAction(QStringLiteral("前を検索(&P)"), this);
    previous->setShortcut(QKeySequence::FindPrevious);
    connect(previous, &QAction::triggered, this, [this] { findComment(findEdit_->text(), false); });
    auto* go = new QAction(QStringLiteral("日付へ移動(&G)..."), this);
    go->setObjectName(QStringLiteral("actionGoToDate"));
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(go, &QAction::triggered, this, &LogViewer::chooseDate);
    auto* oldest = new QAction(QStringLiteral("記録の順（古い順）(&O)"), this);
    connect(oldest, &QAction::triggered, this, [this] { sortByLog(Qt::AscendingOrder); });
    auto* newest = new QAction(QStringLiteral("記録の順（新しい順）(&W)"), this);
    connect(newest, &QAction::triggered, this, [this] { sortByLog(Qt::DescendingOrder); });
    QMenu* search = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    search->addActions({find, next, previous, go});
    search->addSeparator();
    search->addActions({oldest, newest});
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
    model_->endShowing(nullptr, nullptr);
}

void LogViewer::openLog(const QString& log) {
    model_->beginShowing();
    file_ = std::make_unique<LogFile>(log);
    // The folder tells apart the windows of logs of one name.
    setWindowTitle(QStringLiteral("体重ログ - %1 (%2)")
                       .arg(file_->fileName(),
                            QDir::toNativeSeparators(QFileInfo(file_->path()).absolutePath())));
    load();
}

void LogViewer::reload() {
    // The record in hand stays in hand, found by its line number.
    const std::optional<std::size_t> current = table_->currentRecord();
    const LogRecords* records = file_->records();
    const std::size_t line = current && records ? records->line(*current).line : 0;
    model_->beginShowing();
    load();
    records = file_->records();
    if (line == 0 || !records)
        return;
    for (std::size_t r = 0; r < records->size(); ++r)
        if (records->line(r).line >= line) {
            showRow(table_->bringRecord(r), true);
            return;
        }
}

void LogViewer::load() {
    gone_ = false;
    file_->load();
    readChartData();
    model_->endShowing(file_.get(), &data_);
    showRecords();
    // The newest record is shown, and the arrow keys move from it.
    if (const LogRecords* records = file_->records(); records && records->size() > 0)
        showRow(table_->bringRecord(records->size() - 1), false);
    watchLog();
}

void LogViewer::showRow(int row, bool select) {
    const QModelIndex index = model_->index(row, std::max(table_->currentIndex().column(), 0));
    table_->scrollTo(index, select ? QAbstractItemView::PositionAtCenter
                                   : QAbstractItemView::EnsureVisible);
    table_->selectionModel()->setCurrentIndex(index, select ? QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows
                                                            : QItemSelectionModel::NoUpdate);
}

QWidget* LogViewer::makeFindBar() {
    findBar_ = new QWidget;
    findBar_->setObjectName(QStringLiteral("findBar"));
    findEdit_ = new QLineEdit;
    findEdit_->setObjectName(QStringLiteral("findText"));
    findEdit_->setAccessibleName(QStringLiteral("コメントを検索"));
    findEdit_->setClearButtonEnabled(true);
    auto* label = new QLabel(QStringLiteral("コメントを検索(&K):"));
    label->setBuddy(findEdit_);
    findNote_ = new QLabel;
    findNote_->setObjectName(QStringLiteral("findNote"));
    auto* previous = new QPushButton(QStringLiteral("前へ"));
    auto* next = new QPushButton(QStringLiteral("次へ"));
    auto* close = new QPushButton(QStringLiteral("閉じる"));
    connect(findEdit_, &QLineEdit::returnPressed, this,
            [this] { findComment(findEdit_->text(), true); });
    connect(next, &QPushButton::clicked, this, [this] { findComment(findEdit_->text(), true); });
    connect(previous, &QPushButton::clicked, this,
            [this] { findComment(findEdit_->text(), false); });
    connect(close, &QPushButton::clicked, findBar_, &QWidget::hide);
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(4, 2, 4, 2);
    for (QWidget* w : std::initializer_list<QWidget*>{label, findEdit_, previous, next, findNote_})
        row->addWidget(w, w == findNote_ ? 1 : 0);
    row->addWidget(close);
    findBar_->hide();
    return findBar_;
}

bool LogViewer::findComment(const QString& text, bool forward) {
    const LogRecords* records = file_->records();
    findNote_->clear();
    if (text.isEmpty() || !records || records->columnCount() <= kCommentItem ||
        model_->rowCount() == 0)
        return false;
    // In the table's order, over all records, not only the page's.
    const std::size_t count = model_->recordCount();
    const std::optional<std::size_t> current = table_->currentRecord();
    const std::size_t from = current ? model_->positionOf(*current) : (forward ? count - 1 : 0);
    for (std::size_t k = 1; k <= count; ++k) {
        const std::size_t position =
            forward ? (from + k) % count : (from + count - k % count) % count;
        const std::size_t record = model_->recordAtPosition(position);
        if (platform::qs(records->text(record, kCommentItem)).contains(text, Qt::CaseInsensitive)) {
            tabs_->setCurrentIndex(0);
            showRow(table_->bringRecord(record), true);
            return true;
        }
    }
    findNote_->setText(QStringLiteral("「%1」を含むコメントはありません").arg(text));
    return false;
}

bool LogViewer::goToDate(const QDate& date) {
    const LogRecords* records = file_->records();
    if (!records || records->columnCount() <= kDateItem || !date.isValid())
        return false;
    const long long target = stampSeconds({date.year(), date.month(), date.day(), 12, 0, 0});
    std::optional<std::size_t> nearest;
    long long best = 0;
    for (std::size_t r = 0; r < records->size(); ++r)
        if (const auto s = readStamp(records->text(r, kDateItem))) {
            const long long off = std::llabs(stampSeconds(*s) - target);
            if (!nearest || off < best) {
                nearest = r;
                best = off;
            }
        }
    if (!nearest)
        return false;
    tabs_->setCurrentIndex(0);
    showRow(table_->bringRecord(*nearest), true);
    return true;
}

void LogViewer::chooseDate() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("日付へ移動"));
    auto* edit = new QDateEdit(QDate::currentDate());
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    edit->setAccessibleName(QStringLiteral("移動する日付"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("いちばん近い日の記録を表示します。")));
    layout->addWidget(edit);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted && !goToDate(edit->date()))
        showStatus(QStringLiteral("日付の読める記録がありません"));
}

void LogViewer::sortByLog(Qt::SortOrder order) {
    {
        const QSignalBlocker blocker(table_->horizontalHeader());
        table_->horizontalHeader()->setSortIndicator(-1, order);
    }
    table_->sortBy(-1, order);
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
        const bool atEnd = table_->showsEnd();
        readChartData();
        model_->recordsAdded();
        showStats();
        showStatus();
        if (atEnd)
            table_->scrollToEnd();
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

void LogViewer::readChartData() {
    const LogRecords* records = file_->records();
    data_ = records ? chartData(*records) : ChartData{};
    chart_->showRecords(records, &data_);
    const bool empty = !records || records->size() == 0;
    static_cast<QStackedWidget*>(tableEmpty_->parentWidget())->setCurrentIndex(empty ? 1 : 0);
}

void LogViewer::showRecord(std::size_t record) {
    const int row = table_->bringRecord(record);
    table_->selectRow(row);
    table_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
    tabs_->setCurrentIndex(0);
    table_->setFocus();
}

void LogViewer::showStats() {
    showStatsRange();
    stats_->showRecords(model_->dated(), model_->setAside(), file_->path());
    // The user's goal for this log, as 統計 read it from the settings.
    chart_->setGoal(stats_->ownGoal());
}

void LogViewer::showStatsRange() {
    // The days the chart shows, or would show once drawn: its first and
    // last day, whole.
    const DayRange days = rangeDays(data_, chart_->shownRange());
    stats_->setRange(std::pair{static_cast<long long>(std::floor(days.from)),
                               static_cast<long long>(std::ceil(days.to)) - 1});
}

void LogViewer::includeOutliers(bool include) {
    model_->setIncludeOutliers(include);
    showStats();
    showStatus();
}

void LogViewer::showRecords() {
    showStats();
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
        parts << QStringLiteral("日付の読めない記録 %1").arg(data_.undated);
        if (const std::size_t n = model_->doubtCount(kNoWeight))
            parts << QStringLiteral("体重が数でない記録 %1").arg(n);
        if (const std::size_t n = model_->doubtCount(kSetAside))
            parts << QStringLiteral("外れ値 %1").arg(n);
    }
    if (const LogColumns* columns = file_->columns(); columns && !columns->notice.isEmpty())
        parts << columns->notice;
    if (gone_ && file_->records())
        parts << QStringLiteral("記録ファイルが見つかりません（最後に読んだ内容を表示しています）");
    else if (!file_->error().isEmpty())
        parts << file_->error();
    return parts.join(QStringLiteral("　"));
}

void LogViewer::showStatus(const QString& notice) {
    const QString text =
        notice.isEmpty() ? statusText() : statusText() + QStringLiteral("　") + notice;
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
    // The picture of the range in view, with the goal as drawn.
    if (!LogChart::savePicture(file_->records(), target, chart_->shownRange(), &data_,
                               chart_->goal())) {
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
