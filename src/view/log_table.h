#pragma once
// The table "一覧" of the viewer window: one row per record in file order,
// one column per declared item 1 to jcount headed by its name.

#include "view/log_file.h"

#include <QAbstractTableModel>

#include <vector>

namespace taiju::view {

class LogTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit LogTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the records of `file` (its columns and records as they are now).
    // Call beginShowing() before the file is loaded anew and endShowing()
    // after it; recordsAdded() after appended bytes were read.
    void beginShowing();
    void endShowing(const LogFile* file);
    void recordsAdded();
    // Marks the rows of records set aside as typos (外れ値), one flag a record.
    void setAsideRows(std::vector<bool> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    bool aside(std::size_t row) const;

    const LogFile* file_ = nullptr;
    int rows_ = 0;
    int columns_ = 0;
    std::vector<bool> aside_;
};

} // namespace taiju::view
