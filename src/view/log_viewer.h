// SPDX-License-Identifier: MIT
#pragma once
// The viewer window "体重ログ - <log> (<folder>)": the table "一覧", the
// chart "グラフ" and the figures "統計" of one log, a status bar, and the
// actions open, CSV export, PNG export and reload. It follows the log:
// records appended to it appear within a second.

#include "history/chart_data.h"
#include "view/log_file.h"
#include "view/view_settings.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QFileSystemWatcher;
class QDate;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTimer;

namespace taiju::view {

class LogChart;
class LogTableModel;
class LogTableView;
class StatsView;

class LogViewer : public QMainWindow {
    Q_OBJECT
  public:
    // Shows the log at the native path `log`, or says why it cannot.
    explicit LogViewer(const QString& log, QWidget* parent = nullptr);
    ~LogViewer() override;

    // Shows another log.
    void openLog(const QString& log);
    // Reads the log and its columns anew.
    void reload();
    // Looks at the log now and shows what was appended (the watcher and a
    // timer call it).
    void follow();
    // Writes the records as CSV with a UTF-8 byte-order mark, or the chart
    // as a 1200x800 PNG picture. False, with the reason in `error`, when the
    // file cannot be written or is one of the tool's own files.
    bool exportCsv(const QString& target, QString& error);
    bool exportPng(const QString& target, QString& error);

    // Selects the next (or previous) record, in the table's order from the
    // current row, whose comment holds `text`. False when there is none.
    bool findComment(const QString& text, bool forward);
    // Selects the dated record nearest to noon of `date`. False when no
    // record has a date that reads.
    bool goToDate(const QDate& date);

    const LogFile& file() const { return *file_; }
    QString statusText() const;

  private:
    // Reads the log from its start into the table and the chart, the
    // table's model being reset (beginShowing), and follows it.
    void load();
    void chooseLog();
    void chooseCsv();
    void choosePng();
    void showRecords();
    void showStatus(const QString& notice = {});
    void chooseDate();
    void sortByLog(Qt::SortOrder order);
    // Shows `row` and makes it the current one, selected or not.
    void showRow(int row, bool select);
    QWidget* makeFindBar();
    void watchLog();
    void readChartData();
    void showRecord(std::size_t record);
    // 統計 anew from the table's dated records and set-aside flags.
    void showStats();
    // 統計's 表示中の期間: the range the chart shows.
    void showStatsRange();
    void includeOutliers(bool include);
    QString exportBase() const;

    std::unique_ptr<LogFile> file_;
    ViewSettings settings_;
    ChartData data_; // the records' dates, numbers and typos, read once
    bool gone_ = false;
    LogTableModel* model_;
    LogTableView* table_;
    QLabel* tableEmpty_;
    LogChart* chart_;
    StatsView* stats_;
    QTabWidget* tabs_;
    QLabel* status_;
    QWidget* findBar_;
    QLineEdit* findEdit_;
    QLabel* findNote_;
    QFileSystemWatcher* watcher_;
    QTimer* timer_;
};

// The line numbers of the irregular lines, the first `limit` of them,
// joined for a message ("3, 7, 12…").
QString irregularLines(const LogRecords& records, std::size_t limit);
// The same of the line numbers `lines`: the first `limit`, and "…" when
// there are more.
QString listedLines(const std::vector<std::size_t>& lines, std::size_t limit);

} // namespace taiju::view
