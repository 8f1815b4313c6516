// SPDX-License-Identifier: MIT
#include "view/stats_view.h"

#include "view/goal_settings.h"

#include <QAbstractTableModel>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace taiju::view {

namespace {

const QString kNone = QStringLiteral("―");

QString kg(std::optional<double> v, bool sign = false) {
    if (!v)
        return kNone;
    const double shown = std::abs(*v) < 0.05 ? 0.0 : *v;
    return (sign && shown > 0 ? QStringLiteral("+") : QString()) + QString::number(shown, 'f', 1) +
           QStringLiteral(" kg");
}

QString dateText(long long day) {
    const Date d = dateOfDay(day);
    return QStringLiteral("%1/%2/%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString withDate(std::optional<double> v, long long day) {
    return v ? kg(v) + QStringLiteral("（%1）").arg(dateText(day)) : kNone;
}

// The figure rows, top to bottom.
const QStringList kFigureNames{QStringLiteral("最新の体重"),    QStringLiteral("傾向"),
                               QStringLiteral("7日間の変化"),   QStringLiteral("30日間の変化"),
                               QStringLiteral("365日間の変化"), QStringLiteral("1週間あたりの変化"),
                               QStringLiteral("最小"),          QStringLiteral("最大"),
                               QStringLiteral("平均"),          QStringLiteral("記録数"),
                               QStringLiteral("外れ値"),        QStringLiteral("最新の BMI")};

QStringList figureTexts(const Figures& f) {
    QString rate = kNone;
    if (f.ratePerWeek)
        rate = (*f.ratePerWeek >= 0.005 ? QStringLiteral("+") : QString()) +
               QString::number(std::abs(*f.ratePerWeek) < 0.005 ? 0.0 : *f.ratePerWeek, 'f', 2) +
               QStringLiteral(" kg/週");
    return {f.latest ? withDate(f.latest, *f.lastDay) : kNone,
            kg(f.trend),
            kg(f.change7, true),
            kg(f.change30, true),
            kg(f.change365, true),
            rate,
            withDate(f.min, f.minDay),
            withDate(f.max, f.maxDay),
            kg(f.mean),
            QStringLiteral("%1 件").arg(f.records),
            QStringLiteral("%1 件").arg(f.outliers),
            f.latestBmi ? QStringLiteral("%1（%2）")
                              .arg(QString::number(*f.latestBmi, 'f', 1),
                                   QString::fromUtf8(bmiBandName(*f.latestBmi)))
                        : kNone};
}

QTableWidget* readOnlyTable(const QString& name, const QString& accessibleName,
                            const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Widths fitted once the rows are in (fitColumns), from the first rows
    // only: a long log has thousands of months.
    table->horizontalHeader()->setResizeContentsPrecision(24);
    return table;
}

void setCell(QTableWidget* table, int row, int column, const QString& text, bool number) {
    auto* item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

} // namespace

// The months or years, their texts made only for the rows on screen, so
// that thousands of months cost nothing until they are looked at.
class PeriodModel : public QAbstractTableModel {
  public:
    PeriodModel(QStringList headers, QObject* parent)
        : QAbstractTableModel(parent), headers_(std::move(headers)) {}
    void show(std::vector<PeriodRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headers_.size());
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size())
            return headers_[section];
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || static_cast<std::size_t>(index.row()) >= rows_.size())
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (index.column() ? Qt::AlignRight : Qt::AlignLeft));
        if (role != Qt::DisplayRole)
            return {};
        const PeriodRow& p = rows_[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return p.month
                       ? QStringLiteral("%1/%2").arg(p.year).arg(p.month, 2, 10, QLatin1Char('0'))
                       : QStringLiteral("%1年").arg(p.year);
        case 1:
            return QString::number(p.count);
        case 2:
            return QString::number(p.mean, 'f', 1);
        case 3:
            return QString::number(p.min, 'f', 1);
        case 4:
            return QString::number(p.max, 'f', 1);
        default:
            return QString::number(p.trendAtEnd, 'f', 1);
        }
    }

  private:
    QStringList headers_;
    std::vector<PeriodRow> rows_;
};

namespace {

QTableView* periodTable(const QString& name, const QString& accessibleName, PeriodModel* model) {
    auto* table = new QTableView;
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setResizeContentsPrecision(24);
    return table;
}

} // namespace

StatsView::StatsView(QWidget* parent) : QWidget(parent) {
    figures_ = readOnlyTable(QStringLiteral("figures"), QStringLiteral("統計の数値"),
                             {QStringLiteral("表示中の期間"), QStringLiteral("全期間")});
    figures_->setRowCount(static_cast<int>(kFigureNames.size()));
    figures_->setVerticalHeaderLabels(kFigureNames);
    figures_->setAccessibleDescription(
        QStringLiteral("傾向は一日ごとの平均から求め、外れ値は除いています"));

    goalBox_ = new QDoubleSpinBox;
    goalBox_->setObjectName(QStringLiteral("goal"));
    goalBox_->setRange(kLowestGoal, kHighestGoal);
    goalBox_->setDecimals(1);
    goalBox_->setSingleStep(0.1);
    goalBox_->setSuffix(QStringLiteral(" kg"));
    goalBox_->setKeyboardTracking(false);
    goalBox_->setAccessibleName(QStringLiteral("目標体重"));
    goalBox_->setAccessibleDescription(
        QStringLiteral("3～200 kg、0.1 kg 刻み。変えなければ最新の記録の標準体重です"));
    auto* goalLabel = new QLabel(QStringLiteral("目標体重(&T):"));
    goalLabel->setBuddy(goalBox_);
    goalReset_ = new QPushButton(QStringLiteral("標準体重に戻す(&B)"));
    goalReset_->setObjectName(QStringLiteral("goalReset"));
    projection_ = new QLabel;
    projection_->setObjectName(QStringLiteral("projection"));
    projection_->setWordWrap(true);
    projection_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    projection_->setFocusPolicy(Qt::StrongFocus);
    projection_->setAccessibleName(QStringLiteral("目標までの見込み"));
    connect(goalBox_, &QDoubleSpinBox::editingFinished, this, &StatsView::goalEdited);
    connect(goalReset_, &QPushButton::clicked, this, &StatsView::goalReset);

    const QStringList columns{QStringLiteral("件数"), QStringLiteral("平均"),
                              QStringLiteral("最小"), QStringLiteral("最大")};
    monthRows_ = new PeriodModel(QStringList{QStringLiteral("年月")} + columns +
                                     QStringList{QStringLiteral("月末の傾向")},
                                 this);
    yearRows_ = new PeriodModel(QStringList{QStringLiteral("年")} + columns +
                                    QStringList{QStringLiteral("年末の傾向")},
                                this);
    months_ = periodTable(QStringLiteral("months"), QStringLiteral("月ごとの統計"), monthRows_);
    years_ = periodTable(QStringLiteral("years"), QStringLiteral("年ごとの統計"), yearRows_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(figures_, 0, 0, 1, 2);
    auto* goalRow = new QHBoxLayout;
    goalRow->addWidget(goalLabel);
    goalRow->addWidget(goalBox_);
    goalRow->addWidget(goalReset_);
    goalRow->addWidget(projection_, 1);
    grid->addLayout(goalRow, 1, 0, 1, 2);
    grid->addWidget(months_, 2, 0);
    grid->addWidget(years_, 2, 1);
    grid->setRowStretch(0, 1);
    grid->setRowStretch(2, 1);
}

void StatsView::showRecords(const ChartData& data, const std::vector<bool>& setAside,
                            const QString& log) {
    data_ = &data;
    aside_ = &setAside;
    log_ = log;
    ownGoal_ = storedGoal(log);
    stale_ = true;
    if (isVisible())
        build();
}

void StatsView::setRange(std::optional<std::pair<long long, long long>> days) {
    if (days == range_)
        return;
    range_ = days;
    // Worked out when the view is on screen, so that zooming the chart costs
    // no figures while 統計 is behind it.
    rangeStale_ = true;
    if (!stale_ && isVisible())
        showFigures();
}

void StatsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        build();
    else if (rangeStale_)
        showFigures();
}

void StatsView::build() {
    if (!data_)
        return; // nothing shown yet
    stale_ = false;
    const StatsInput in{data_->dated, *aside_};
    Overview o = overview(in);
    monthRows_->show(std::move(o.months));
    yearRows_->show(std::move(o.years));
    whole_ = o.whole;
    // The views lay out their rows now rather than at their next turn of
    // the event loop, so that the page is drawn once, not again with them.
    for (QTableView* view : {months_, years_}) {
        view->resizeColumnsToContents();
        view->doItemsLayout();
    }
    showFigures();
    // The page takes the sizes its new texts ask for now, before it is
    // first drawn, rather than again after it.
    layout()->activate();
}

std::optional<double> StatsView::goal() const {
    return ownGoal_ ? ownGoal_ : whole_.latestStandard;
}

void StatsView::showFigures() {
    rangeStale_ = false;
    const StatsInput in{data_->dated, *aside_};
    Figures inView = whole_;
    if (range_) {
        const Span span = recordsBetween(data_->dated, range_->first, range_->second);
        if (span.begin != 0 || span.end != data_->dated.size())
            inView = figures(in, span.begin, span.end);
    }
    const QStringList texts[] = {figureTexts(inView), figureTexts(whole_)};
    for (int c = 0; c < 2; ++c)
        for (int r = 0; r < static_cast<int>(texts[c].size()); ++r)
            setCell(figures_, r, c, texts[c][r], true);
    figures_->resizeColumnsToContents();
    showGoal();
}

void StatsView::showGoal() {
    const std::optional<double> g = goal();
    {
        const QSignalBlocker blocker(goalBox_);
        goalBox_->setValue(g.value_or(kLowestGoal));
    }
    goalReset_->setEnabled(ownGoal_.has_value());
    const Projection p = projectGoal(g, whole_);
    const QString rest = QStringLiteral("目標まであと %1 kg").arg(p.remaining, 0, 'f', 1);
    switch (p.kind) {
    case Projection::Kind::Unknown:
        projection_->setText(QStringLiteral("目標までの見込みは、記録があると表示されます"));
        break;
    case Projection::Kind::NoRate:
        projection_->setText(rest + QStringLiteral("：ペースは 28 日分の記録から求めます"));
        break;
    case Projection::Kind::Reached:
        projection_->setText(QStringLiteral("目標に到達しました"));
        break;
    case Projection::Kind::Due:
        projection_->setText(
            rest + QStringLiteral("：このペースなら %1年%2月頃").arg(p.due.year).arg(p.due.month));
        break;
    case Projection::Kind::Never:
        projection_->setText(QStringLiteral("このペースでは届きません"));
        break;
    }
    projection_->setAccessibleDescription(projection_->text());
}

void StatsView::goalEdited() {
    const double value = std::round(goalBox_->value() * 10) / 10;
    if (goal() && std::abs(*goal() - value) < 0.05)
        return; // unchanged: nothing is written
    QString error;
    if (!storeGoal(log_, value, error)) {
        projection_->setText(error);
        return;
    }
    ownGoal_ = value;
    showGoal();
    emit goalChanged(ownGoal_);
}

void StatsView::goalReset() {
    QString error;
    if (!storeGoal(log_, std::nullopt, error)) {
        projection_->setText(error);
        return;
    }
    ownGoal_.reset();
    showGoal();
    emit goalChanged(ownGoal_);
}

} // namespace taiju::view
