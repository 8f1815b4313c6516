// SPDX-License-Identifier: MIT
#include "view/log_table.h"

#include "eval/number.h"
#include "history/trend.h"
#include "platform/qtext.h"

#include <QBrush>
#include <QColor>
#include <QDate>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace taiju::view {

namespace {

struct DoubtLook {
    Doubt doubt;
    const char16_t* mark;
    QColor colour;
    const char16_t* says;
};
// The marks before the line number, in this order, and the rows' colours.
const DoubtLook kLooks[] = {
    {kIrregularLine, u"※", QColor(255, 236, 179), u"行の長さが記録の長さと違います"},
    {kUndated, u"？", QColor(214, 234, 255), u"日付が読めません"},
    {kNoWeight, u"＃", QColor(255, 214, 222), u"体重が数ではありません"},
    {kSetAside, u"外", QColor(232, 220, 255), u"外れ値としてグラフと統計から除いています"},
};

const QString kWeekdays[] = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                             QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土"),
                             QStringLiteral("日")};

// "2026/12/07(月) 06:33:00"; the text itself when it does not read.
QString dateText(std::u16string_view text) {
    const auto s = readStamp(text);
    if (!s)
        return platform::qs(text);
    const QDate d(s->year, s->month, s->day);
    return QStringLiteral("%1/%2/%3(%4) %5:%6:%7")
        .arg(s->year, 4, 10, QLatin1Char('0'))
        .arg(s->month, 2, 10, QLatin1Char('0'))
        .arg(s->day, 2, 10, QLatin1Char('0'))
        .arg(kWeekdays[d.dayOfWeek() - 1])
        .arg(s->hour, 2, 10, QLatin1Char('0'))
        .arg(s->minute, 2, 10, QLatin1Char('0'))
        .arg(s->second, 2, 10, QLatin1Char('0'));
}

int fractionDigits(std::u16string_view text) {
    const auto dot = text.find(u'.');
    return dot == std::u16string_view::npos ? 0 : static_cast<int>(text.size() - dot - 1);
}

} // namespace

QString withLeadingZero(QStringView text) {
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    bool digit = false, dot = false;
    for (qsizetype k = i; k < text.size(); ++k) {
        if (text[k] == u'.' && !dot)
            dot = true;
        else if (text[k] >= u'0' && text[k] <= u'9')
            digit = true;
        else
            return {};
    }
    if (!digit)
        return {};
    QString out = text.toString();
    if (out[i] == u'.')
        out.insert(i, u'0');
    return out;
}

void LogTableModel::beginShowing() {
    beginResetModel();
}

void LogTableModel::endShowing(const LogFile* file, const ChartData* data) {
    file_ = file;
    data_ = data;
    const LogRecords* records = file ? file->records() : nullptr;
    rows_ = records ? static_cast<int>(records->size()) : 0;
    columns_ = records ? static_cast<int>(records->columnCount()) - 1 : 0;
    examine();
    putInOrder();
    endResetModel();
}

void LogTableModel::recordsAdded() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    if (!records)
        return;
    if (sortColumn_ >= 0 || sortOrder_ == Qt::DescendingOrder) {
        // New records take their place in the order.
        beginResetModel();
        rows_ = static_cast<int>(records->size());
        examine();
        putInOrder();
        endResetModel();
        return;
    }
    const int before = rows_;
    const int now = static_cast<int>(records->size());
    examine();
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows({}, now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
    // The last row shown before may have been an open last line, read again;
    // a new record can change which records around it are set aside.
    const int last = std::min(before, now) - 1;
    if (last >= 0) {
        emit dataChanged(index(std::max(0, last - 3), 0), index(last, columns_ - 1));
        emit headerDataChanged(Qt::Vertical, std::max(0, last - 3), last);
    }
}

const ChartData& LogTableModel::dated() const {
    static const ChartData none;
    return data_ ? *data_ : none;
}

void LogTableModel::setIncludeOutliers(bool include) {
    includeOutliers_ = include;
    markSetAside();
    if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
        emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
}

void LogTableModel::markSetAside() {
    const ChartData& data = dated();
    setAside_ = includeOutliers_ ? std::vector<bool>(data.dated.size(), false) : data.aside;
    for (std::uint8_t& d : doubts_)
        d &= static_cast<std::uint8_t>(~kSetAside);
    for (std::size_t i = 0; i < data.dated.size(); ++i)
        if (setAside_[i] && data.dated[i].record < doubts_.size())
            doubts_[data.dated[i].record] |= kSetAside;
}

void LogTableModel::examine() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    doubts_.assign(records ? records->size() : 0, 0);
    fractionDigits_.assign(static_cast<std::size_t>(columns_) + 1, 0);
    markSetAside();
    if (!records)
        return;
    std::vector<bool> hasDate(records->size(), false);
    for (const DatedRecord& d : dated().dated)
        if (d.record < hasDate.size())
            hasDate[d.record] = true;
    const auto& right = file_->columns()->rightAligned;
    for (std::size_t r = 0; r < records->size(); ++r) {
        if (records->line(r).irregular)
            doubts_[r] |= kIrregularLine;
        if (!hasDate[r])
            doubts_[r] |= kUndated;
        if (records->columnCount() > kWeightItem &&
            withLeadingZero(platform::qs(records->text(r, kWeightItem))).isEmpty())
            doubts_[r] |= kNoWeight;
        for (std::size_t item = 1; item < records->columnCount(); ++item)
            if (right[item])
                fractionDigits_[item] =
                    std::max(fractionDigits_[item], fractionDigits(records->text(r, item)));
    }
}

std::size_t LogTableModel::doubtCount(Doubt doubt) const {
    return static_cast<std::size_t>(
        std::count_if(doubts_.begin(), doubts_.end(), [&](std::uint8_t d) { return d & doubt; }));
}

void LogTableModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> records;
    for (const QModelIndex& i : before)
        records.push_back(recordAt(i.row()));
    sortColumn_ = column;
    sortOrder_ = order;
    putInOrder();
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k)
        after << index(rowOf(records[static_cast<std::size_t>(k)]), before[k].column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void LogTableModel::putInOrder() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    order_.clear();
    rowOfRecord_.clear();
    if (!records || (sortColumn_ < 0 && sortOrder_ == Qt::AscendingOrder))
        return;
    order_.resize(records->size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    const auto item = static_cast<std::size_t>(sortColumn_) + 1;
    if (sortColumn_ < 0 || item >= records->columnCount()) {
        std::reverse(order_.begin(), order_.end());
    } else {
        // Keys once per record; records without a key (no date, no number)
        // stay last either way.
        std::vector<double> keys(records->size());
        const bool byDate = item == kDateItem;
        const bool byNumber = file_->columns()->rightAligned[item];
        for (std::size_t r = 0; r < records->size(); ++r) {
            if (byDate) {
                const auto s = readStamp(records->text(r, item));
                keys[r] = s ? static_cast<double>(stampSeconds(*s)) : NAN;
            } else if (byNumber) {
                keys[r] = withLeadingZero(platform::qs(records->text(r, item))).isEmpty()
                              ? NAN
                              : leadingNumber(records->text(r, item));
            }
        }
        const bool down = sortOrder_ == Qt::DescendingOrder;
        auto before = [&](std::size_t a, std::size_t b) {
            if (byDate || byNumber) {
                if (std::isnan(keys[a]) || std::isnan(keys[b]))
                    return !std::isnan(keys[a]) && std::isnan(keys[b]);
                return down ? keys[a] > keys[b] : keys[a] < keys[b];
            }
            const auto ta = records->text(a, item), tb = records->text(b, item);
            return down ? tb < ta : ta < tb;
        };
        std::stable_sort(order_.begin(), order_.end(), before);
    }
    rowOfRecord_.resize(order_.size());
    for (std::size_t row = 0; row < order_.size(); ++row)
        rowOfRecord_[order_[row]] = static_cast<int>(row);
}

std::size_t LogTableModel::recordAt(int row) const {
    const auto r = static_cast<std::size_t>(row);
    return r < order_.size() ? order_[r] : r;
}

int LogTableModel::rowOf(std::size_t record) const {
    return record < rowOfRecord_.size() ? rowOfRecord_[record] : static_cast<int>(record);
}

int LogTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int LogTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QString LogTableModel::shownText(std::size_t record, std::size_t item) const {
    const std::u16string_view text = file_->records()->text(record, item);
    if (item == kDateItem)
        return dateText(text);
    if (!file_->columns()->rightAligned[item])
        return platform::qs(text);
    QString number = withLeadingZero(platform::qs(text));
    if (number.isEmpty())
        return platform::qs(text);
    // Figure spaces stand for the missing decimals, a punctuation space for
    // a missing ".", so that the points line up.
    const int missing = fractionDigits_[item] - fractionDigits(text);
    if (missing > 0) {
        if (text.find(u'.') == std::u16string_view::npos)
            number += QChar(0x2008);
        number += QString(missing, QChar(0x2007));
    }
    return number;
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    if (!records || !index.isValid() || static_cast<std::size_t>(index.row()) >= records->size())
        return {};
    const std::size_t record = recordAt(index.row());
    const auto item = static_cast<std::size_t>(index.column()) + 1;
    switch (role) {
    case Qt::DisplayRole:
        return shownText(record, item);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (file_->columns()->rightAligned[item] ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
        return headerData(index.row(), Qt::Vertical, role);
    case Qt::ToolTipRole: {
        // The whole text, for one cut by the column's width, and what is
        // doubtful about the record.
        QString tip = platform::qs(records->text(record, item));
        const QString doubt = headerData(index.row(), Qt::Vertical, role).toString();
        if (!doubt.isEmpty())
            tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + doubt;
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
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
    const std::size_t record = recordAt(section);
    const RecordLine& line = records.line(record);
    const std::uint8_t doubt = doubts_[record];
    switch (role) {
    case Qt::DisplayRole: {
        // The line number in the file after the marks of its doubts.
        QString marks;
        for (const DoubtLook& look : kLooks)
            if (doubt & look.doubt)
                marks += QString::fromUtf16(look.mark);
        return marks + QString::number(line.line);
    }
    case Qt::BackgroundRole:
        for (const DoubtLook& look : kLooks)
            if (doubt & look.doubt)
                return QBrush(look.colour);
        return {};
    case Qt::ToolTipRole: {
        QStringList says;
        for (const DoubtLook& look : kLooks)
            if (doubt & look.doubt)
                says << QString::fromUtf16(look.mark) + QString::fromUtf16(look.says);
        if (doubt & kIrregularLine)
            says[0] = QStringLiteral("※%1 行目は長さが %2 バイトです（記録は %3 バイト）")
                          .arg(line.line)
                          .arg(line.length)
                          .arg(file_->columns()->layout.lineLength);
        return says.isEmpty() ? QVariant() : QVariant(says.join(u'\n'));
    }
    default:
        return {};
    }
}

} // namespace taiju::view
