#include "view/log_table.h"

#include "platform/qtext.h"

#include <QBrush>
#include <QColor>

namespace taiju::view {

namespace {
// Rows whose line has not the record length.
const QColor kIrregularRow(255, 236, 179);
// Rows of records set aside as typos.
const QColor kAsideRow(255, 214, 170);
const QString kAsideTip =
    QStringLiteral("外れ値: 前後の記録の体重の中央値から 10 % と 1 kg を超えて離れています");
} // namespace

void LogTableModel::setAsideRows(std::vector<bool> rows) {
    aside_ = std::move(rows);
    if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::BackgroundRole});
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
}

bool LogTableModel::aside(std::size_t row) const {
    return row < aside_.size() && aside_[row];
}

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
        return line.irregular ? QVariant(QBrush(kIrregularRow))
               : aside(row)   ? QVariant(QBrush(kAsideRow))
                              : QVariant();
    case Qt::ToolTipRole:
        if (!line.irregular)
            return aside(row) ? QVariant(kAsideTip) : QVariant();
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
        // The line number in the file; "※" marks a line of irregular length,
        // "外" a record set aside as a typo.
        return (line.irregular                             ? QStringLiteral("※")
                : aside(static_cast<std::size_t>(section)) ? QStringLiteral("外")
                                                           : QString()) +
               QString::number(line.line);
    case Qt::BackgroundRole:
        return line.irregular                             ? QVariant(QBrush(kIrregularRow))
               : aside(static_cast<std::size_t>(section)) ? QVariant(QBrush(kAsideRow))
                                                          : QVariant();
    default:
        return {};
    }
}

} // namespace taiju::view
