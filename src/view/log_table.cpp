// SPDX-License-Identifier: MIT
#include "view/log_table.h"

#include "eval/number.h"
#include "history/trend.h"
#include "platform/qtext.h"

#include <QBrush>
#include <QColor>
#include <QDate>
#include <QScrollBar>
#include <QTimer>

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

int LogTableModel::pageRows = 1 << 20;

void LogTableModel::beginShowing() {
    beginResetModel();
}

void LogTableModel::endShowing(const LogFile* file, const ChartData* data) {
    file_ = file;
    data_ = data;
    const LogRecords* records = file ? file->records() : nullptr;
    count_ = records ? records->size() : 0;
    rows_ = static_cast<int>(std::min<std::size_t>(count_, toSize(pageRows_)));
    pageStart_ = std::min(pageStart_, count_ - toSize(rows_));
    columns_ = records ? static_cast<int>(records->columnCount()) - 1 : 0;
    examine();
    putInOrder();
    endResetModel();
    emit recordCountChanged();
}

void LogTableModel::recordsAdded() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    if (!records)
        return;
    if (sortColumn_ >= 0 || sortOrder_ == Qt::DescendingOrder) {
        // New records take their place in the order.
        beginShowing();
        endShowing(file_, data_);
        return;
    }
    const std::size_t before = count_;
    const std::size_t now = records->size();
    const int rows = static_cast<int>(std::min<std::size_t>(now, toSize(pageRows_)));
    examine();
    shiftPage(std::min(pageStart_, now - toSize(rows)));
    count_ = now;
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    // The last record shown before may have been an open last line, read
    // again; a new record can change which records around it are set aside.
    const std::size_t end = std::min({before, now, pageStart_ + toSize(rows_)});
    const std::size_t first = std::max(pageStart_, end > 4 ? end - 4 : 0);
    if (first < end) {
        const int top = static_cast<int>(first - pageStart_);
        const int bottom = static_cast<int>(end - 1 - pageStart_);
        emit dataChanged(index(top, 0), index(bottom, columns_ - 1));
        emit headerDataChanged(Qt::Vertical, top, bottom);
    }
    emit recordCountChanged();
}

void LogTableModel::movePage(std::size_t position) {
    shiftPage(std::min(position, count_ - toSize(rows_)));
}

void LogTableModel::shiftPage(std::size_t start) {
    if (start == pageStart_)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& i : before) {
        const std::size_t position = pageStart_ + toSize(i.row());
        after << (position >= start && position < start + toSize(rows_)
                      ? index(static_cast<int>(position - start), i.column())
                      : QModelIndex());
    }
    pageStart_ = start;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> records;
    for (const QModelIndex& i : before)
        records.push_back(recordAt(i.row()));
    sortColumn_ = column;
    sortOrder_ = order;
    putInOrder();
    QModelIndexList after;
    for (qsizetype k = 0; k < before.size(); ++k) {
        const int row = rowOf(records[static_cast<std::size_t>(k)]);
        after << (row < 0 ? QModelIndex() : index(row, before[k].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LogTableModel::putInOrder() {
    const LogRecords* records = file_ ? file_->records() : nullptr;
    // Freed, not only emptied: they are as long as the log.
    std::vector<std::uint32_t>().swap(order_);
    std::vector<std::uint32_t>().swap(positions_);
    const auto item = static_cast<std::size_t>(sortColumn_) + 1;
    if (!records || sortColumn_ < 0 || item >= records->columnCount())
        return;
    const auto n = static_cast<std::uint32_t>(count_);
    order_.reserve(n);
    const bool down = sortOrder_ == Qt::DescendingOrder;
    const bool byDate = item == kDateItem;
    if (byDate || file_->columns()->rightAligned[item]) {
        // Keys once per record that has one; records without a key (no
        // date, no number) follow in the log's order either way.
        struct Keyed {
            double key;
            std::uint32_t record;
        };
        std::vector<Keyed> keyed;
        for (std::uint32_t r = 0; r < n; ++r) {
            const std::u16string_view text = records->text(r, item);
            if (byDate) {
                if (const auto s = readStamp(text))
                    keyed.push_back({static_cast<double>(stampSeconds(*s)), r});
            } else if (!withLeadingZero(platform::qs(text)).isEmpty()) {
                keyed.push_back({leadingNumber(text), r});
            }
        }
        if (keyed.empty())
            return; // the log's order
        std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
            return down ? a.key > b.key : a.key < b.key;
        });
        std::vector<bool> hasKey(n, false);
        for (const Keyed& k : keyed) {
            order_.push_back(k.record);
            hasKey[k.record] = true;
        }
        for (std::uint32_t r = 0; r < n; ++r)
            if (!hasKey[r])
                order_.push_back(r);
    } else {
        bool texts = false;
        for (std::uint32_t r = 0; r < n && !texts; ++r)
            texts = !records->text(r, item).empty();
        if (!texts)
            return; // the log's order
        order_.resize(n);
        std::iota(order_.begin(), order_.end(), std::uint32_t{0});
        std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
            const auto ta = records->text(a, item), tb = records->text(b, item);
            return down ? tb < ta : ta < tb;
        });
    }
    positions_.resize(n);
    for (std::uint32_t p = 0; p < n; ++p)
        positions_[order_[p]] = p;
}

std::size_t LogTableModel::recordAtPosition(std::size_t position) const {
    if (position < order_.size())
        return order_[position];
    return reversed() && position < count_ ? count_ - 1 - position : position;
}

std::size_t LogTableModel::positionOf(std::size_t record) const {
    if (record < positions_.size())
        return positions_[record];
    return reversed() && record < count_ ? count_ - 1 - record : record;
}

int LogTableModel::rowOf(std::size_t record) const {
    const std::size_t position = positionOf(record);
    return position >= pageStart_ && position < pageStart_ + toSize(rows_)
               ? static_cast<int>(position - pageStart_)
               : -1;
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
    if (!records || !index.isValid() || index.row() >= rows_)
        return {};
    const std::size_t record = recordAt(index.row());
    if (record >= records->size())
        return {};
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
    if (section < 0 || section >= rows_)
        return {};
    const std::size_t record = recordAt(section);
    if (record >= records.size() || record >= doubts_.size())
        return {};
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

LogTableView::LogTableView(LogTableModel* model, QScrollBar* recordBar, QWidget* parent)
    : QTableView(parent), model_(model), recordBar_(recordBar) {
    setModel(model);
    recordBar_->hide();
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    held_ = model_->recordAt(current.row());
                    heldColumn_ = current.column();
                }
            });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { held_.reset(); });
    connect(model_, &QAbstractItemModel::layoutAboutToBeChanged, this, &LogTableView::keepCurrent);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &LogTableView::restoreCurrent);
    connect(model_, &LogTableModel::recordCountChanged, this, &LogTableView::showBar);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &LogTableView::showBar);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &LogTableView::followTable);
    connect(recordBar_, &QScrollBar::valueChanged, this, &LogTableView::followRecordBar);
}

bool LogTableView::paged() const {
    return model_->recordCount() > static_cast<std::size_t>(model_->rowCount());
}

std::size_t LogTableView::centred(std::size_t position) const {
    const auto half = static_cast<std::size_t>(model_->rowCount() / 2);
    return position > half ? position - half : 0;
}

bool LogTableView::nearEdge(std::size_t position) const {
    const std::size_t start = model_->pageStart();
    const auto rows = static_cast<std::size_t>(model_->rowCount());
    const std::size_t margin = rows / 4;
    return (start > 0 && position < start + margin) ||
           (start + rows < model_->recordCount() && position + margin >= start + rows);
}

int LogTableView::bringRecord(std::size_t record) {
    const std::size_t position = model_->positionOf(record);
    if (paged() && (model_->rowOf(record) < 0 || nearEdge(position)))
        model_->movePage(centred(position));
    return model_->rowOf(record);
}

std::optional<std::size_t> LogTableView::currentRecord() const {
    return currentIndex().isValid() ? model_->recordAt(currentIndex().row()) : held_;
}

bool LogTableView::showsEnd() const {
    const QScrollBar* bar = paged() ? recordBar_ : verticalScrollBar();
    return bar->value() == bar->maximum();
}

void LogTableView::scrollToEnd() {
    model_->movePage(model_->recordCount());
    scrollToBottom();
}

void LogTableView::sortBy(int column, Qt::SortOrder order) {
    const std::optional<std::size_t> current = currentRecord();
    model_->sort(column, order);
    if (current && model_->rowOf(*current) < 0) {
        bringRecord(*current);
        scrollTo(currentIndex(), PositionAtCenter);
    }
}

QModelIndex LogTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (paged()) {
        const bool home = action == MoveHome, end = action == MoveEnd;
        if ((home || end) && (modifiers & Qt::ControlModifier)) {
            // The first or last record of all, not of the page.
            model_->movePage(home ? 0 : model_->recordCount());
            return model_->index(home ? 0 : model_->rowCount() - 1,
                                 home ? 0 : model_->columnCount() - 1);
        }
        // The keys move from the current record, in the middle of a page.
        if (held_ && (!currentIndex().isValid() || nearEdge(model_->positionOf(*held_))))
            model_->movePage(centred(model_->positionOf(*held_)));
    }
    return QTableView::moveCursor(action, modifiers);
}

void LogTableView::keepCurrent() {
    if (currentIndex().isValid())
        heldSelected_ = selectionModel()->isRowSelected(currentIndex().row(), {});
}

void LogTableView::restoreCurrent() {
    // The current record comes back with the page that holds it, without
    // scrolling to it.
    if (!currentIndex().isValid() && held_)
        if (const int row = model_->rowOf(*held_); row >= 0) {
            const bool scrolls = hasAutoScroll();
            setAutoScroll(false);
            selectionModel()->setCurrentIndex(model_->index(row, heldColumn_),
                                              heldSelected_ ? QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows
                                                            : QItemSelectionModel::NoUpdate);
            setAutoScroll(scrolls);
        }
    showBar();
}

void LogTableView::showBar() {
    const bool paged = this->paged();
    if (paged == recordBar_->isHidden()) {
        recordBar_->setVisible(paged);
        setVerticalScrollBarPolicy(paged ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    }
    if (!paged)
        return;
    const QScrollBar* own = verticalScrollBar();
    const auto beyond =
        static_cast<int>(model_->recordCount() - static_cast<std::size_t>(model_->rowCount()));
    syncing_ = true;
    recordBar_->setRange(0, own->maximum() + beyond);
    recordBar_->setPageStep(own->pageStep());
    recordBar_->setSingleStep(own->singleStep());
    recordBar_->setValue(static_cast<int>(model_->pageStart()) + own->value());
    syncing_ = false;
}

void LogTableView::followTable(int value) {
    if (syncing_)
        return;
    showBar();
    // Scrolled near an edge of the page (by the wheel, or dragging a
    // selection): the page moves on once the scrolling has been done.
    const std::size_t top = model_->pageStart() + static_cast<std::size_t>(value);
    if (!paged() || recentring_ || !nearEdge(top))
        return;
    recentring_ = true;
    QTimer::singleShot(0, this, [this] {
        recentring_ = false;
        followRecordBar(recordBar_->value());
    });
}

void LogTableView::followRecordBar(int value) {
    if (syncing_ || !paged())
        return;
    const auto top = static_cast<std::size_t>(value);
    const std::size_t start = model_->pageStart();
    const auto last = static_cast<std::size_t>(verticalScrollBar()->maximum());
    if (top < start || top > start + last || nearEdge(top))
        model_->movePage(centred(top));
    syncing_ = true;
    verticalScrollBar()->setValue(static_cast<int>(top - model_->pageStart()));
    syncing_ = false;
    showBar();
}

} // namespace taiju::view
