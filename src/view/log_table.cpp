#include "view/log_table.h"

#include "platform/qtext.h"

#include <QBrush>
#include <QColor>

namespace taiju::view {

namespace {
// Rows whose line has not the record length.
const QColor kIrregularRow(255, 236, 179);
} // namespace

void LogTableModel::beginShowing() {
    beginResetModel();
}

void LogTableModel::endShowing(const LogFile* file) {
    file_ = file;
    const LogRecords* records = file ? file->records() : nullptr;
    rows_ = records ? static_cast<int>(records->size()) : 0;
    columns_ = records ? static_cast<int>(records->columnCount()) - 1 : 0;
    endResetModel();
}

void LogTableModel::recordsAdded() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    if (!records)
        return;
    const int before = rows_;
    const int now = static_cast<int>(records->size());
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows({}, now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
    // The last row shown before may have been an open last line, read again.
    const int last = std::min(before, now) - 1;
    if (last >= 0) {
        emit dataChanged(index(last, 0), index(last, columns_ - 1));
        emit headerDataChanged(Qt::Vertical, last, last);
    }
}

int LogTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    if (!records || !index.isValid() || static_cast<std::size_t>(index.row()) >= records->size())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const auto item = static_cast<std::size_t>(index.column()) + 1;
    const RecordLine& line = records->line(row);
    switch (role) {
    case Qt::DisplayRole:
        return platform::qs(records->text(row, item));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (file_->columns()->rightAligned[item] ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        return line.irregular ? QVariant(QBrush(kIrregularRow)) : QVariant();
    case Qt::ToolTipRole:
        if (!line.irregular)
            return {};
        return QStringLiteral("%1 行目は長さが %2 バイトです（記録は %3 バイト）")
            .arg(line.line)
            .arg(line.length)
            .arg(file_->columns()->layout.lineLength);
    default:
        return {};
    }
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!file_ || !file_->records())
        return {};
    if (orientation == Qt::Horizontal) {
        if (role != Qt::DisplayRole || section < 0 || section >= columns_)
            return {};
        return platform::qs(file_->columns()->names[static_cast<std::size_t>(section) + 1]);
    }
    const LogRecords& records = *file_->records();
    if (section < 0 || static_cast<std::size_t>(section) >= records.size())
        return {};
    const RecordLine& line = records.line(static_cast<std::size_t>(section));
    switch (role) {
    case Qt::DisplayRole:
        // The line number in the file; "※" marks a line of irregular length.
        return (line.irregular ? QStringLiteral("※") : QString()) + QString::number(line.line);
    case Qt::BackgroundRole:
        return line.irregular ? QVariant(QBrush(kIrregularRow)) : QVariant();
    default:
        return {};
    }
}

} // namespace taiju::view
