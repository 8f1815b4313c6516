// SPDX-License-Identifier: MIT
#pragma once
// The table "一覧" of the viewer window: one row per record, one column per
// declared item 1 to jcount headed by its name. Dates read as
// "2026/12/07(月) 06:33:00", numbers with a leading zero and aligned on the
// decimal point; each kind of doubtful record has its mark and colour. The
// rows can be put in order by a column or by the log's order, and keep that
// order through reloads and new records.

#include "history/chart_data.h"
#include "view/log_file.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

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
    explicit LogTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

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

    // The record shown in `row`, and the row that shows `record`.
    std::size_t recordAt(int row) const;
    int rowOf(std::size_t record) const;
    // The counts of each doubt.
    std::size_t doubtCount(Doubt doubt) const;
    // The records with a date that reads, in date order, and whether each
    // is set aside, as the marks show them.
    const ChartData& dated() const;
    const std::vector<bool>& setAside() const { return setAside_; }

  private:
    void examine();      // the doubts and the number columns' widths, anew
    void markSetAside(); // the 外 marks, as the toggle has them
    void putInOrder();
    QString shownText(std::size_t record, std::size_t item) const;

    const LogFile* file_ = nullptr;
    int rows_ = 0;
    int columns_ = 0;
    const ChartData* data_ = nullptr;
    bool includeOutliers_ = false;
    std::vector<bool> setAside_;       // per dated record
    std::vector<std::uint8_t> doubts_; // per record
    std::vector<int> fractionDigits_;  // per item: the most digits after "."
    std::vector<std::size_t> order_;   // row -> record; empty: the log's order
    std::vector<int> rowOfRecord_;     // record -> row, with order_
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// A number as the table shows it: the text of a plain decimal number
// ("-", digits, at most one ".") with a leading zero before a bare "."
// (".661" -> "0.661"); an empty string for any other text.
QString withLeadingZero(QStringView text);

} // namespace taiju::view
