// SPDX-License-Identifier: MIT
#pragma once
// The table "一覧" of the viewer window: one row per record, one column per
// declared item 1 to jcount headed by its name. Dates read as
// "2026/12/07(月) 06:33:00", numbers with a leading zero and aligned on the
// decimal point; each kind of doubtful record has its mark and colour. The
// rows can be put in order by a column or by the log's order, and keep that
// order through reloads and new records. A long log is shown a page of rows
// at a time, under a scroll bar over all of its records.

#include "history/chart_data.h"
#include "view/log_file.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

class QScrollBar;

namespace taiju::view {

// What is doubtful about a record (bits).
enum Doubt : std::uint8_t {
    kIrregularLine = 1, // a line of the wrong length
    kUndated = 2,       // a date that does not read
    kNoWeight = 4,      // a weight that is not a number
    kSetAside = 8,      // set aside as 外れ値
};

class LogTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The rows of one page in the models made from now on; tests make it
    // small.
    static int pageRows;

    explicit LogTableModel(QObject* parent = nullptr)
        : QAbstractTableModel(parent), pageRows_(std::max(pageRows, 1)) {}

    // Shows the records of `file` (its columns and records as they are now)
    // with their chart data `data`, read from those records; both must stay
    // until the next call. Call beginShowing() before the file is loaded
    // anew and endShowing() after it; recordsAdded() after appended bytes
    // were read and `data` read again.
    void beginShowing();
    void endShowing(const LogFile* file, const ChartData* data);
    void recordsAdded();
    // With the toggle 外れ値を含める on, no record is set aside.
    void setIncludeOutliers(bool include);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // By a column's values (dates by date, numbers by number); column -1:
    // the log's order, oldest or newest first.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    // The rows show one page of the records in their order, so that a log
    // of millions of short lines costs the view no entry per record: the
    // records at the positions pageStart() on, at most pageRows of them.
    std::size_t recordCount() const { return count_; }
    std::size_t pageStart() const { return pageStart_; }
    // Moves the page to start at `position` (at most where it ends with the
    // last record); the rows of the records in both pages stay theirs.
    void movePage(std::size_t position);
    // The record at `position` in the order, and the position of `record`.
    std::size_t recordAtPosition(std::size_t position) const;
    std::size_t positionOf(std::size_t record) const;
    // The record shown in `row`, and the row that shows `record` (-1 when
    // it lies outside the page).
    std::size_t recordAt(int row) const { return recordAtPosition(pageStart_ + toSize(row)); }
    int rowOf(std::size_t record) const;
    // The counts of each doubt.
    std::size_t doubtCount(Doubt doubt) const;
    // The records with a date that reads, in date order, and whether each
    // is set aside, as the marks show them.
    const ChartData& dated() const;
    const std::vector<bool>& setAside() const { return setAside_; }

  signals:
    // The number of records changed (the rows of the page may not).
    void recordCountChanged();

  private:
    static std::size_t toSize(int row) { return static_cast<std::size_t>(row); }
    void examine();      // the doubts and the number columns' widths, anew
    void markSetAside(); // the 外 marks, as the toggle has them
    void putInOrder();
    bool reversed() const { return sortColumn_ < 0 && sortOrder_ == Qt::DescendingOrder; }
    void shiftPage(std::size_t start);
    QString shownText(std::size_t record, std::size_t item) const;

    const LogFile* file_ = nullptr;
    int pageRows_;
    std::size_t count_ = 0;     // records
    int rows_ = 0;              // of the page
    std::size_t pageStart_ = 0; // the position of its first row
    int columns_ = 0;
    const ChartData* data_ = nullptr;
    bool includeOutliers_ = false;
    std::vector<bool> setAside_;       // per dated record
    std::vector<std::uint8_t> doubts_; // per record
    std::vector<int> fractionDigits_;  // per item: the most digits after "."
    // In the order of a column only: position -> record and back (the log's
    // order, either way, needs neither, nor a column of which no record has
    // a key or a text).
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> positions_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The view of the table: when the records fill more than one page, a scroll
// bar over all of them stands in for the table's own, and scrolling, keys
// and going to a record move the page. The current record stays current
// while the page moves away from it and back.
class LogTableView : public QTableView {
    Q_OBJECT
  public:
    // `recordBar`, laid out beside the view, is the scroll bar over all
    // records.
    LogTableView(LogTableModel* model, QScrollBar* recordBar, QWidget* parent = nullptr);

    // Moves the page to show `record`, and returns its row.
    int bringRecord(std::size_t record);
    // The current record, also while the page lies elsewhere.
    std::optional<std::size_t> currentRecord() const;
    // Whether the last record is scrolled into view, and scrolling there.
    bool showsEnd() const;
    void scrollToEnd();
    // Puts the rows in the order of `column` (see LogTableModel::sort),
    // keeping the current record current.
    void sortBy(int column, Qt::SortOrder order);

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    bool paged() const;
    // The page start that puts `position` in the middle of the page, and
    // whether `position` lies so near an edge of the page that one more
    // page of keys or scrolling could leave it.
    std::size_t centred(std::size_t position) const;
    bool nearEdge(std::size_t position) const;
    void followTable(int value);
    void followRecordBar(int value);
    void showBar();
    void keepCurrent();
    void restoreCurrent();

    LogTableModel* model_;
    QScrollBar* recordBar_;
    std::optional<std::size_t> held_; // the current record
    int heldColumn_ = 0;
    bool heldSelected_ = false;
    bool syncing_ = false;
    bool recentring_ = false;
};

// A number as the table shows it: the text of a plain decimal number
// ("-", digits, at most one ".") with a leading zero before a bare "."
// (".661" -> "0.661"); an empty string for any other text.
QString withLeadingZero(QStringView text);

} // namespace taiju::view
