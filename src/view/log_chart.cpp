// SPDX-License-Identifier: MIT
#include "view/log_chart.h"

#include "eval/bands.h"
#include "history/stamp.h"
#include "history/ticks.h"
#include "platform/colour.h"
#include "platform/qtext.h"
#include "view/png_writer.h"
#include "view/view_settings.h"

#include <QApplication>
#include <QAreaSeries>
#include <QButtonGroup>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QScatterSeries>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace taiju::view {

namespace {

// The pixel columns a series is reduced for before the chart has its size.
constexpr int kDefaultColumns = 1200;
// The pixels of a column in which a series keeps at most its lowest and
// highest point: about the width of the pens, half that of the markers.
constexpr int kColumnWidth = 3;
// The narrowest span a zoom shows, in days.
constexpr double kNarrowest = 0.25;
// How near the pointer a point must be to be read out, in pixels.
constexpr double kNear = 12;
// The room a date label needs on the time axis, in pixels.
constexpr int kTickRoom = 80;
constexpr std::size_t kMaxEdgeValues = 30;

const char16_t* const kBandNames[] = {u"やせぎみ", u"正常体重", u"やや肥満", u"肥満"};
const QString kNoRecords =
    QStringLiteral("まだ記録がありません。体重チェックで「記入」すると、ここに表示されます。");

struct SpanChoice {
    const char* name;
    const char* caption;
    int months; // 0: the whole log
};
constexpr SpanChoice kSpans[] = {{"1m", "1か月", 1},
                                 {"3m", "3か月", 3},
                                 {"6m", "6か月", 6},
                                 {"1y", "1年", 12},
                                 {"all", "全期間", 0}};

const long long kDay0 = QDate(1, 1, 1).toJulianDay();

double dayOf(QDate date) {
    return static_cast<double>(date.toJulianDay() - kDay0);
}

QDate dateOf(double day) {
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(day)) + kDay0);
}

double xOf(long long seconds) {
    return static_cast<double>(seconds) / kDaySeconds;
}

int monthsOf(const QString& span) {
    for (const SpanChoice& s : kSpans)
        if (span == QLatin1String(s.name))
            return s.months;
    return 0;
}

// Keeps `range` inside `full`: no wider, and shifted back when it leaves it.
DayRange clampInto(DayRange range, DayRange full) {
    const double span = range.to - range.from;
    if (span >= full.to - full.from)
        return full;
    if (range.from < full.from)
        return {full.from, full.from + span};
    if (range.to > full.to)
        return {full.to - span, full.to};
    return range;
}

QFont windowFont(int pointSize, bool bold = false) {
    QFont font = QApplication::font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(windowFont(11, true));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(windowFont(9));
    chart->setMargins(QMargins(6, 4, 6, 4));
    return chart;
}

QCategoryAxis* newTimeAxis() {
    auto* axis = new QCategoryAxis;
    axis->setLabelsFont(windowFont(9));
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    return axis;
}

QValueAxis* newValueAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(windowFont(9));
    axis->setLabelsFont(windowFont(9));
    return axis;
}

template <class Series> Series* addSeries(QChart* chart, const QString& name, const char* object) {
    auto* series = new Series;
    series->setName(name);
    series->setObjectName(QString::fromLatin1(object));
    chart->addSeries(series);
    return series;
}

void attach(QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

// Points alone: a line series whose line is not drawn, with its marker drawn
// as a picture at each point. A scatter series would make a graphics item
// of every point, which costs more than the rest of the chart to lay out and
// draw at a thousand points.
QLineSeries* addPoints(QChart* chart, const QString& name, const char* object,
                       const QColor& colour, bool hollow) {
    auto* series = addSeries<QLineSeries>(chart, name, object);
    series->setMarkerSize(hollow ? 8 : 6);
    QPen pen(colour);
    pen.setStyle(Qt::NoPen);
    series->setPen(pen);
    QImage dot(12, 12, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    QPainter paint(&dot);
    paint.setRenderHint(QPainter::Antialiasing);
    paint.setPen(hollow ? QPen(colour, 2) : QPen(Qt::NoPen));
    paint.setBrush(hollow ? QBrush(Qt::white) : QBrush(colour));
    paint.drawEllipse(hollow ? QRectF(1.5, 1.5, 9, 9) : QRectF(0.5, 0.5, 11, 11));
    paint.end();
    series->setLightMarker(dot);
    return series;
}

QString kg(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" kg");
}

} // namespace

bool isSpanName(const QString& name) {
    return std::any_of(std::begin(kSpans), std::end(kSpans),
                       [&](const SpanChoice& s) { return name == QLatin1String(s.name); });
}

DayRange rangeDays(const ChartData& data, const ChartRange& range) {
    if (range.span == QLatin1String("custom") && range.from.isValid() && range.to.isValid()) {
        const double from = dayOf(std::min(range.from, range.to));
        return {from, dayOf(std::max(range.from, range.to)) + 1};
    }
    if (data.dated.empty()) {
        const double today = dayOf(QDate::currentDate());
        return {today - 30, today + 1};
    }
    const double first = xOf(data.dated.front().seconds);
    const double last = xOf(data.dated.back().seconds);
    const double pad = std::max((last - first) * 0.02, 0.5);
    const DayRange all{first - pad, last + pad};
    const int months = monthsOf(range.span);
    if (months == 0)
        return all;
    const QDate lastDate = dateOf(last);
    const double from = last - (dayOf(lastDate) - dayOf(lastDate.addMonths(-months)));
    if (from <= all.from)
        return all;
    return {from, last + std::max((last - from) * 0.02, 0.5)};
}

QString defaultSpan(const ChartData& data) {
    // 3か月 when the log spans more than that.
    return rangeDays(data, {QStringLiteral("3m"), {}, {}}).from > rangeDays(data, {}).from
               ? QStringLiteral("3m")
               : QStringLiteral("all");
}

bool rangeHoldsRecords(const ChartData& data, const ChartRange& range) {
    const DayRange days = rangeDays(data, range);
    const auto first =
        std::lower_bound(data.dated.begin(), data.dated.end(), days.from,
                         [](const DatedRecord& d, double day) { return xOf(d.seconds) < day; });
    return first != data.dated.end() && xOf(first->seconds) <= days.to;
}

LogChart::LogChart(QWidget* parent) : QWidget(parent) {
    buildAxes();
    buildBands();
    buildSeries();
    layOut();
    showRecords(nullptr, nullptr);
}

LogChart::~LogChart() = default;

void LogChart::buildAxes() {
    weightChart_ = newChart(QStringLiteral("体重"));
    bmiChart_ = newChart(QString());
    // The bands carry their names inside them; the BMI chart needs no legend.
    bmiChart_->legend()->hide();
    weightTime_ = newTimeAxis();
    bmiTime_ = newTimeAxis();
    weightAxis_ = newValueAxis(QStringLiteral("体重(kg)"));
    bmiAxis_ = newValueAxis(QStringLiteral("BMI"));
    weightChart_->addAxis(weightTime_, Qt::AlignBottom);
    weightChart_->addAxis(weightAxis_, Qt::AlignLeft);
    bmiChart_->addAxis(bmiTime_, Qt::AlignBottom);
    bmiChart_->addAxis(bmiAxis_, Qt::AlignLeft);
}

void LogChart::buildBands() {
    // The BMI bands, behind the BMI line, in the legend's colours, each with
    // its name, so that the two bands of one colour are told apart.
    for (int band = 0; band < 4; ++band) {
        auto* area = new QAreaSeries(new QLineSeries, new QLineSeries);
        area->setName(QString::fromUtf16(kBandNames[band]));
        area->setObjectName(QStringLiteral("bmiBand%1").arg(band + 1));
        area->setBrush(platform::toQColor(bandColour(band + 1)));
        area->setPen(Qt::NoPen);
        bmiChart_->addSeries(area);
        attach(area, bmiTime_, bmiAxis_);
        bands_.push_back(area);
        auto* name = new QGraphicsSimpleTextItem(area->name(), bmiChart_);
        name->setFont(windowFont(9));
        name->setZValue(10);
        bandNames_.push_back(name);
    }
}

void LogChart::buildSeries() {
    const QColor weightColour(40, 90, 200);
    auto* weights = addPoints(weightChart_, QStringLiteral("体重"), "weightSeries", weightColour,
                              false);
    const QColor asideColour(230, 120, 0);
    auto* outliers =
        addPoints(weightChart_, QStringLiteral("外れ値"), "outlierSeries", asideColour, true);
    auto* trend = addSeries<QLineSeries>(weightChart_, QStringLiteral("傾向（日ごとに平滑化）"),
                                         "trendSeries");
    trend->setPen(QPen(QColor(200, 30, 30), 2.5));
    auto* standard =
        addSeries<QLineSeries>(weightChart_, QStringLiteral("標準体重"), "standardSeries");
    standard->setPen(QPen(QColor(20, 120, 20), 1.5, Qt::DashLine));
    goalLine_ = addSeries<QLineSeries>(weightChart_, QStringLiteral("目標体重"), "goalSeries");
    goalLine_->setPen(QPen(QColor(120, 40, 170), 2, Qt::DotLine));
    cursorMark_ = addSeries<QScatterSeries>(weightChart_, QString(), "cursorSeries");
    cursorMark_->setMarkerSize(16);
    cursorMark_->setColor(Qt::transparent);
    cursorMark_->setBorderColor(Qt::black);
    for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
             weights, outliers, trend, standard, goalLine_, cursorMark_})
        attach(s, weightTime_, weightAxis_);
    weightChart_->legend()->markers(cursorMark_).first()->setVisible(false);
    // The legend shows a set-aside point hollow, as it is drawn.
    QLegendMarker* aside = weightChart_->legend()->markers(outliers).first();
    aside->setBrush(Qt::white);
    aside->setPen(QPen(asideColour));
    goalLine_->setVisible(false);
    weightChart_->legend()->markers(goalLine_).first()->setVisible(false);
    auto* bmi = addSeries<QLineSeries>(bmiChart_, QStringLiteral("BMI"), "bmiSeries");
    bmi->setPen(QPen(Qt::black, 1.5));
    attach(bmi, bmiTime_, bmiAxis_);

    drawnFor_.assign(kLines, -1);
    lines_ = {{weights, weightChart_, {}, false, {}},
              {outliers, weightChart_, {}, false, {}},
              {trend, weightChart_, {}, false, {}},
              {standard, weightChart_, {}, false, {}},
              {bmi, bmiChart_, {}, false, {}}};
}

QWidget* LogChart::buildRangeBar() {
    auto* bar = new QWidget;
    bar->setObjectName(QStringLiteral("rangeBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 0);
    row->addWidget(new QLabel(QStringLiteral("期間:")));
    spans_ = new QButtonGroup(this);
    for (int i = 0; i < std::ssize(kSpans); ++i) {
        // Tool buttons, narrower than push buttons, so that the bar fits 800 pixels.
        auto* button = new QToolButton;
        button->setText(QString::fromUtf8(kSpans[i].caption));
        button->setObjectName(QStringLiteral("range") + QLatin1String(kSpans[i].name));
        button->setCheckable(true);
        button->setFocusPolicy(Qt::TabFocus);
        spans_->addButton(button, i);
        row->addWidget(button);
    }
    connect(spans_, &QButtonGroup::idClicked, this, [this](int id) {
        showRange({QString::fromLatin1(kSpans[id].name), {}, {}});
    });
    fromEdit_ = new QDateEdit;
    toEdit_ = new QDateEdit;
    for (auto [edit, caption, name] :
         {std::tuple{fromEdit_, "開始", "rangeFrom"}, std::tuple{toEdit_, "終了", "rangeTo"}}) {
        edit->setObjectName(QString::fromLatin1(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setMinimumDate(QDate(1, 1, 1));
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setBuddy(edit);
        row->addSpacing(8);
        row->addWidget(label);
        row->addWidget(edit);
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            showRange({QStringLiteral("custom"), fromEdit_->date(), toEdit_->date()});
        });
    }
    outliersBox_ = new QCheckBox(QStringLiteral("外れ値を含める"));
    outliersBox_->setObjectName(QStringLiteral("includeOutliers"));
    connect(outliersBox_, &QCheckBox::toggled, this, &LogChart::setIncludeOutliers);
    row->addSpacing(8);
    row->addWidget(outliersBox_);
    row->addStretch(1);
    return bar;
}

void LogChart::layOut() {
    weightView_ = new QChartView(weightChart_);
    bmiView_ = new QChartView(bmiChart_);
    for (QChartView* view : {weightView_, bmiView_}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setFocusPolicy(Qt::NoFocus);
        view->viewport()->installEventFilter(this);
        view->viewport()->setMouseTracking(true);
        connect(view->chart(), &QChart::plotAreaChanged, this, [this] {
            drawLines();
            placeTicks();
            placeLabels();
        });
    }
    weightView_->setObjectName(QStringLiteral("weightChart"));
    bmiView_->setObjectName(QStringLiteral("bmiChart"));
    rangeBar_ = buildRangeBar();
    readout_ = new QLabel;
    readout_->setObjectName(QStringLiteral("readout"));
    readout_->setContentsMargins(8, 2, 8, 2);
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    emptyNotice_ = new QLabel;
    emptyNotice_->setObjectName(QStringLiteral("emptyNotice"));
    emptyNotice_->setAlignment(Qt::AlignCenter);
    emptyNotice_->setWordWrap(true);
    charts_ = new QWidget;
    auto* charts = new QVBoxLayout(charts_);
    charts->setContentsMargins(0, 0, 0, 0);
    charts->setSpacing(0);
    charts->addWidget(weightView_, 3);
    charts->addWidget(bmiView_, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(rangeBar_);
    layout->addWidget(readout_);
    layout->addWidget(charts_, 1);
    layout->addWidget(emptyNotice_, 1);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("グラフ"));
}

void LogChart::useSettings(ViewSettings* settings) {
    settings_ = settings;
    const QString range = settings->range();
    if (!range.isEmpty()) {
        choice_ = {range, settings->rangeFrom(), settings->rangeTo()};
        chosen_ = true;
    }
    includeOutliers_ = settings->includeOutliers();
    const QSignalBlocker block(outliersBox_);
    outliersBox_->setChecked(includeOutliers_);
    stale_ = true;
}

void LogChart::showRecords(const LogRecords* records, const ChartData* data) {
    records_ = records;
    data_ = data;
    stale_ = true;
    if (isVisible() || picture_)
        build();
}

void LogChart::showRange(const ChartRange& range) {
    choice_ = range;
    chosen_ = true;
    if (settings_)
        settings_->setRange(range.span, range.from, range.to);
    if (stale_)
        return; // shown when the chart is built
    applyView(rangeDays(*data_, choice_));
}

ChartRange LogChart::shownRange() const {
    if (stale_) // not drawn yet: what it will show
        return chosen_ ? choice_ : ChartRange{data_ ? defaultSpan(*data_) : QString(), {}, {}};
    if (isSpanName(choice_.span))
        return {choice_.span, {}, {}};
    return {QStringLiteral("custom"), dateOf(view_.from),
            dateOf(std::nextafter(view_.to, view_.from))};
}

void LogChart::setGoal(std::optional<double> goal) {
    if (goal == goal_)
        return;
    goal_ = goal;
    if (!stale_)
        applyView(view_);
}

void LogChart::showGoal() {
    // The goal differs from the latest standard weight by a tenth of a kg or
    // more, or there is no standard weight.
    const Line& standard = lines_[kStandard];
    const bool shown = goal_ && (standard.size() == 0 ||
                                 std::abs(*goal_ - standard.y(standard.size() - 1)) >= 0.05);
    goalLine_->setVisible(shown);
    weightChart_->legend()->markers(goalLine_).first()->setVisible(shown);
    if (shown)
        goalLine_->replace({{view_.from, *goal_}, {view_.to, *goal_}});
}

void LogChart::setIncludeOutliers(bool include) {
    includeOutliers_ = include;
    if (settings_)
        settings_->setIncludeOutliers(include);
    const QSignalBlocker block(outliersBox_);
    outliersBox_->setChecked(include);
    stale_ = true;
    drawLines();
    emit includeOutliersChanged(include);
}

void LogChart::build() {
    building_ = true;
    const bool dated = data_ && !data_->dated.empty();
    emptyNotice_->setText(!records_ || records_->size() == 0
                              ? kNoRecords
                              : QStringLiteral("日付の読める記録がありません。"));
    emptyNotice_->setVisible(!dated);
    charts_->setVisible(dated);
    rangeBar_->setVisible(dated && !picture_);
    readout_->setVisible(dated && !picture_);
    static const ChartData kNone;
    const ChartData& all = data_ ? *data_ : kNone;
    if (!chosen_)
        choice_.span = defaultSpan(all);
    fillLines();
    cursor_ = readoutRecord_ = -1;
    cursorMark_->clear();
    building_ = false;
    stale_ = false;
    // A zoomed view stays as it is through a reload or the 外れ値 toggle.
    applyView(choice_.span == QLatin1String("zoom") ? view_ : rangeDays(all, choice_));
}

void LogChart::fillLines() {
    // Each line keeps at most the indices of its dated records, and reads the
    // dates and values from the chart data.
    for (Line& line : lines_) {
        line.points = SeriesSummary();
        line.dated = {};
    }
    trend_ = {};
    if (!data_)
        return;
    const std::vector<DatedRecord>& dated = data_->dated;
    auto shows = [&](LineIndex line, std::size_t i) {
        const DatedRecord& d = dated[i];
        const bool aside = !includeOutliers_ && data_->aside[i];
        switch (line) {
        case kWeights:
            return plottable(d.weight) && !aside;
        case kOutliers:
            return plottable(d.weight) && aside;
        case kStandard:
            return plottable(d.standard);
        default:
            return plottable(d.bmi) && !aside;
        }
    };
    for (auto [i, field] :
         {std::pair{kWeights, &DatedRecord::weight}, std::pair{kOutliers, &DatedRecord::weight},
          std::pair{kStandard, &DatedRecord::standard}, std::pair{kBmi, &DatedRecord::bmi}}) {
        Line& line = lines_[i];
        std::size_t count = 0;
        for (std::size_t d = 0; d < dated.size(); ++d)
            count += shows(i, d);
        line.every = count == dated.size();
        if (!line.every) {
            line.dated.reserve(count);
            for (std::size_t d = 0; d < dated.size(); ++d)
                if (shows(i, d))
                    line.dated.push_back(static_cast<std::uint32_t>(d));
        }
        const Line* at = &line;
        line.points = SeriesSummary(
            {count, [&dated, at](std::size_t k) { return xOf(dated[at->datedOf(k)].seconds); },
             [&dated, at, field](std::size_t k) { return dated[at->datedOf(k)].*field; }});
    }
    // At most a point a weight: reserved once, never grown. The trend takes
    // the weights drawn (the set-aside ones too when they are included).
    trend_.reserve(lines_[kWeights].size());
    TrendFollower follower;
    const Line& weights = lines_[kWeights];
    for (std::size_t k = 0; k < weights.size(); ++k) {
        const DatedRecord& d = dated[weights.datedOf(k)];
        if (const auto p = follower.add(d.seconds, d.weight))
            trend_.push_back({p->seconds, p->trend});
    }
    if (const auto p = follower.finish())
        trend_.push_back({p->seconds, p->trend});
    lines_[kTrend].points =
        SeriesSummary({trend_.size(), [this](std::size_t k) { return xOf(trend_[k].seconds); },
                       [this](std::size_t k) { return trend_[k].trend; }});
}

void LogChart::applyView(DayRange range) {
    if (stale_ || building_)
        return;
    // The axes' new ranges move the plot areas; the lines and labels are
    // drawn once the axes are all set.
    building_ = true;
    static const ChartData kNone;
    view_ = clampInto(range, rangeDays(data_ ? *data_ : kNone, {}));
    if (choice_.span == QLatin1String("custom"))
        view_ = range; // dates of one's own are shown as asked
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(weightTime_), static_cast<QAbstractAxis*>(bmiTime_)})
        axis->setRange(view_.from, view_.to);
    drawnFor_.assign(lines_.size(), -1);
    fitValueAxes();
    building_ = false;
    placeTicks();
    drawLines();
    placeLabels();
    showChoice();
    emit viewChanged();
}

void LogChart::showChoice() {
    const QSignalBlocker blockFrom(fromEdit_), blockTo(toEdit_);
    fromEdit_->setDate(dateOf(view_.from));
    toEdit_->setDate(dateOf(std::nextafter(view_.to, view_.from)));
    const int id = static_cast<int>(
        std::find_if(std::begin(kSpans), std::end(kSpans),
                     [&](const SpanChoice& s) { return choice_.span == QLatin1String(s.name); }) -
        std::begin(kSpans));
    if (QAbstractButton* button = spans_->button(id)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = spans_->checkedButton()) {
        spans_->setExclusive(false);
        checked->setChecked(false);
        spans_->setExclusive(true);
    }
}

void LogChart::fitValueAxes() {
    // The values of `line` in view, widened into [low, high].
    auto widen = [this](const Line& line, double& low, double& high) {
        const std::size_t from = line.points.lowerBound(view_.from);
        const std::size_t to = line.points.upperBound(view_.to);
        if (from >= to)
            return;
        const SeriesSummary::Extremes e = line.points.extremes(from, to);
        low = std::min(low, line.y(e.low));
        high = std::max(high, line.y(e.high));
    };
    auto fit = [](QValueAxis* axis, double low, double high, double emptyLow, double emptyHigh) {
        if (low > high) {
            low = emptyLow;
            high = emptyHigh;
        }
        // The values fill the height but for a small margin; the ticks fall
        // on round numbers, about six of them.
        const double margin = std::max((high - low) * 0.05, 0.5);
        axis->setRange(low - margin, high + margin);
        double step = 0.1;
        for (double round : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 50.0, 100.0})
            if (round * 6 >= high - low + 2 * margin) {
                step = round;
                break;
            }
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        axis->setTickInterval(step);
        axis->setLabelFormat(step < 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
    };
    // The weights and the trend fill the height; the standard weight is
    // shown too when the view holds fewer than two weights, or when it at
    // most doubles the span.
    double low = INFINITY, high = -INFINITY;
    for (LineIndex i : {kWeights, kTrend})
        widen(lines_[i], low, high);
    double withLow = low, withHigh = high;
    widen(lines_[kStandard], withLow, withHigh);
    if (!(high > low) || withHigh - withLow <= 2 * (high - low)) {
        low = withLow;
        high = withHigh;
    }
    // So is the goal, when it is drawn.
    showGoal();
    if (goalLine_->isVisible() &&
        (!(high > low) || std::max(high, *goal_) - std::min(low, *goal_) <= 2 * (high - low))) {
        low = std::min(low, *goal_);
        high = std::max(high, *goal_);
    }
    fit(weightAxis_, low, high, 40, 80);
    double bmiLow = INFINITY, bmiHigh = -INFINITY;
    widen(lines_[kBmi], bmiLow, bmiHigh);
    fit(bmiAxis_, bmiLow, bmiHigh, 18, 28);

    const double bottom = bmiAxis_->min(), top = bmiAxis_->max();
    const double edges[] = {bottom, std::clamp(kBmiBandEdges[0], bottom, top),
                            std::clamp(kBmiBandEdges[1], bottom, top),
                            std::clamp(kBmiBandEdges[2], bottom, top), top};
    for (std::size_t band = 0; band < bands_.size(); ++band) {
        bands_[band]->lowerSeries()->replace({{view_.from, edges[band]}, {view_.to, edges[band]}});
        bands_[band]->upperSeries()->replace(
            {{view_.from, edges[band + 1]}, {view_.to, edges[band + 1]}});
    }
}

void LogChart::placeTicks() {
    // Changing the labels moves the plot area, which calls this again.
    if (stale_ || building_ || placingTicks_)
        return;
    placingTicks_ = true;
    const int width = static_cast<int>(weightChart_->plotArea().width());
    const int maxTicks = std::max((width > 0 ? width : kDefaultColumns) / kTickRoom, 2);
    const auto ticks =
        calendarTicks(static_cast<long long>(std::max(view_.from, 0.0) * kDaySeconds),
                      static_cast<long long>(view_.to * kDaySeconds), maxTicks);
    // A label centred on a tick near the right end would be cut off.
    const double last = view_.to - (view_.to - view_.from) * 0.02;
    for (QCategoryAxis* axis : {weightTime_, bmiTime_}) {
        for (const QString& label : axis->categoriesLabels())
            axis->remove(label);
        axis->setStartValue(view_.from - 1);
        for (const Tick& tick : ticks.ticks)
            if (xOf(tick.seconds) <= last)
                axis->append(platform::qs(tick.label), xOf(tick.seconds));
        axis->setRange(view_.from, view_.to);
    }
    placingTicks_ = false;
}

void LogChart::drawLines() {
    // A chart that is not on screen (the table's tab is in front) draws
    // nothing yet: a long log then costs nothing until it is looked at.
    if (!isVisible() && !picture_)
        return;
    if (building_)
        return; // the axes' new ranges move the plot area; build draws last
    if (stale_) {
        build();
        return;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        const int width = static_cast<int>(line.chart->plotArea().width());
        const int columns = width > 0 ? width : kDefaultColumns;
        if (drawnFor_[i] == columns)
            continue;
        drawnFor_[i] = columns;
        // The points in view, and for a line one beyond each edge.
        std::size_t from = line.points.lowerBound(view_.from);
        std::size_t to = line.points.upperBound(view_.to);
        const bool isLine = i == kTrend || i == kStandard || i == kBmi;
        if (isLine && from > 0)
            --from;
        if (isLine && to < line.size())
            ++to;
        // The lowest and highest point of each column about as narrow as the
        // pens: what the pixels can show, and few points for the chart to
        // lay out and stroke.
        const auto keep = static_cast<std::size_t>(std::max(columns / kColumnWidth, 1));
        QList<QPointF> points;
        if (from < to)
            for (std::size_t k :
                 line.points.pointsToDraw(from, to, keep, SeriesSummary::Keep::Extremes)) {
                double y = line.y(k);
                if (i == kOutliers) // beyond the axis: at its edge, with the value
                    y = std::clamp(y, weightAxis_->min(), weightAxis_->max());
                points.append(QPointF(line.x(k), y));
            }
        line.series->replace(points);
        // A line of one point shows it as a dot (the points have their markers).
        if (isLine)
            static_cast<QLineSeries*>(line.series)->setPointsVisible(points.size() == 1);
    }
}

void LogChart::placeLabels() {
    if (stale_ || building_)
        return;
    const QRectF plot = bmiChart_->plotArea();
    const double top = bmiAxis_->max(), bottom = bmiAxis_->min();
    const double edges[] = {-INFINITY, kBmiBandEdges[0], kBmiBandEdges[1], kBmiBandEdges[2],
                            INFINITY};
    for (std::size_t band = 0; band < bandNames_.size(); ++band) {
        const double low = std::max(edges[band], bottom), high = std::min(edges[band + 1], top);
        QGraphicsSimpleTextItem* name = bandNames_[band];
        const double y0 = plot.bottom() - (low - bottom) / (top - bottom) * plot.height();
        const double y1 = plot.bottom() - (high - bottom) / (top - bottom) * plot.height();
        const QRectF box = name->boundingRect();
        name->setVisible(high > low && y0 - y1 >= box.height());
        name->setPos(plot.left() + 6, (y0 + y1 - box.height()) / 2);
    }

    // The set-aside values beyond the weight axis, beside their markers.
    for (QGraphicsSimpleTextItem* item : edgeValues_)
        item->hide();
    const Line& outliers = lines_[kOutliers];
    const std::size_t to = outliers.points.upperBound(view_.to);
    std::size_t used = 0;
    for (std::size_t k = outliers.points.lowerBound(view_.from); k < to && used < kMaxEdgeValues;
         ++k) {
        const double y = outliers.y(k);
        if (y >= weightAxis_->min() && y <= weightAxis_->max())
            continue;
        if (used == edgeValues_.size()) {
            edgeValues_.push_back(new QGraphicsSimpleTextItem(weightChart_));
            edgeValues_.back()->setFont(windowFont(8));
            edgeValues_.back()->setBrush(QColor(160, 80, 0));
            edgeValues_.back()->setZValue(10);
        }
        QGraphicsSimpleTextItem* item = edgeValues_[used++];
        const QPointF at = weightChart_->mapToPosition(
            QPointF(outliers.x(k), std::clamp(y, weightAxis_->min(), weightAxis_->max())),
            outliers.series);
        item->setText(QString::number(y));
        item->setPos(at.x() + 6,
                     y > weightAxis_->max() ? at.y() : at.y() - item->boundingRect().height());
        item->show();
    }
}

void LogChart::zoom(double factor, double anchor) {
    const double span = std::max((view_.to - view_.from) * factor, kNarrowest);
    const double at = view_.from + anchor * (view_.to - view_.from);
    choice_.span = QStringLiteral("zoom");
    applyView({at - anchor * span, at - anchor * span + span});
}

void LogChart::pan(double share) {
    const double by = (view_.to - view_.from) * share;
    choice_.span = QStringLiteral("zoom");
    applyView({view_.from + by, view_.to + by});
}

void LogChart::stepCursor(int direction) {
    const Line& weights = lines_[kWeights];
    if (stale_ || weights.size() == 0)
        return;
    const auto inView = [&](std::size_t k) {
        return weights.x(k) >= view_.from && weights.x(k) <= view_.to;
    };
    // The cursor's place among the weights (in date order), or where it
    // enters the view.
    std::size_t k = weights.size();
    if (cursor_ >= 0 && weights.every) {
        k = static_cast<std::size_t>(cursor_);
    } else if (cursor_ >= 0) {
        const auto at = std::lower_bound(weights.dated.begin(), weights.dated.end(), cursor_,
                                         [](std::uint32_t d, long long c) { return d < c; });
        if (at != weights.dated.end() && *at == cursor_)
            k = static_cast<std::size_t>(at - weights.dated.begin());
    }
    if (k >= weights.size() || !inView(k)) {
        const std::size_t first = weights.points.lowerBound(view_.from);
        const std::size_t last = weights.points.upperBound(view_.to);
        if (first >= last)
            return;
        k = direction > 0 ? first : last - 1;
    } else {
        if ((direction < 0 && k == 0) || (direction > 0 && k + 1 == weights.size()))
            return;
        k = direction > 0 ? k + 1 : k - 1;
    }
    if (!inView(k)) { // the view follows the cursor
        const double span = view_.to - view_.from;
        choice_.span = QStringLiteral("zoom");
        applyView({weights.x(k) - span / 2, weights.x(k) + span / 2});
    }
    cursor_ = static_cast<long long>(weights.datedOf(k));
    cursorMark_->replace({QPointF(weights.x(k), weights.y(k))});
    showReadout(cursor_);
}

long long LogChart::recordNear(QChartView* view, QPointF pos) const {
    QChart* chart = view->chart();
    const QRectF plot = chart->plotArea();
    if (plot.isEmpty() || stale_)
        return -1;
    const QPointF at = chart->mapFromScene(view->mapToScene(pos.toPoint()));
    const double xPerPixel = (view_.to - view_.from) / plot.width();
    const QValueAxis* axis = view == bmiView_ ? bmiAxis_ : weightAxis_;
    const double yPerPixel = (axis->max() - axis->min()) / plot.height();
    const double x = view_.from + (at.x() - plot.left()) * xPerPixel;
    const double y = axis->min() + (plot.bottom() - at.y()) * yPerPixel;
    long long best = -1;
    double bestDistance = kNear * kNear;
    static constexpr LineIndex kWeightLines[] = {kWeights, kOutliers};
    static constexpr LineIndex kBmiLines[] = {kBmi};
    for (LineIndex i : view == bmiView_ ? std::span<const LineIndex>(kBmiLines)
                                        : std::span<const LineIndex>(kWeightLines)) {
        const Line& line = lines_[i];
        const std::size_t to = line.points.upperBound(x + kNear * xPerPixel);
        for (std::size_t k = line.points.lowerBound(x - kNear * xPerPixel); k < to; ++k) {
            const double dx = (line.x(k) - x) / xPerPixel;
            const double dy = (std::clamp(line.y(k), axis->min(), axis->max()) - y) / yPerPixel;
            if (dx * dx + dy * dy <= bestDistance) {
                bestDistance = dx * dx + dy * dy;
                best = static_cast<long long>(line.datedOf(k));
            }
        }
    }
    return best;
}

QString LogChart::describe(std::size_t i) const {
    static const QString kWeekdays = QStringLiteral("月火水木金土日");
    const DatedRecord& d = data_->dated[i];
    const Stamp s = stampAt(d.seconds);
    const long long day = d.seconds / kDaySeconds;
    QString text = QStringLiteral("%1/%2/%3(%4) %5:%6")
                       .arg(s.year)
                       .arg(s.month, 2, 10, QLatin1Char('0'))
                       .arg(s.day, 2, 10, QLatin1Char('0'))
                       .arg(kWeekdays[weekday(day)])
                       .arg(s.hour, 2, 10, QLatin1Char('0'))
                       .arg(s.minute, 2, 10, QLatin1Char('0'));
    text += QStringLiteral("　体重 ") + kg(d.weight);
    if (!includeOutliers_ && data_->aside[i])
        text += QStringLiteral("（外れ値）");
    // The trend at the end of the record's day.
    const auto after =
        std::upper_bound(trend_.begin(), trend_.end(), day, [](long long on, const TrendAt& t) {
            return on < t.seconds / kDaySeconds;
        });
    if (after != trend_.begin())
        text += QStringLiteral("　傾向 ") + kg((after - 1)->trend);
    if (plottable(d.bmi))
        text += QStringLiteral("　BMI ") + QString::number(d.bmi, 'f', 1);
    if (records_ && records_->columnCount() > kCommentItem) {
        const QString comment = platform::qs(records_->text(d.record, kCommentItem)).trimmed();
        if (!comment.isEmpty())
            text += QStringLiteral("　") + comment;
    }
    return text;
}

void LogChart::showReadout(long long dated, QPoint globalPos) {
    readoutRecord_ = dated;
    const QString text = dated >= 0 ? describe(static_cast<std::size_t>(dated)) : QString();
    readout_->setText(text);
    setAccessibleDescription(text);
    if (!globalPos.isNull())
        QToolTip::showText(globalPos, text, this);
}

QString LogChart::readout() const {
    return readout_->text();
}

void LogChart::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(0.8);
        break;
    case Qt::Key_Minus:
        zoom(1.25);
        break;
    case Qt::Key_Left:
        shift ? stepCursor(-1) : pan(-0.1);
        break;
    case Qt::Key_Right:
        shift ? stepCursor(1) : pan(0.1);
        break;
    case Qt::Key_Home:
        showRange({QStringLiteral("all"), {}, {}});
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cursor_ >= 0)
            emit recordChosen(data_->dated[static_cast<std::size_t>(cursor_)].record);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool LogChart::eventFilter(QObject* watched, QEvent* event) {
    QChartView* view = watched == weightView_->viewport() ? weightView_
                       : watched == bmiView_->viewport()  ? bmiView_
                                                          : nullptr;
    if (!view || stale_)
        return QWidget::eventFilter(watched, event);
    const QRectF plot = view->chart()->plotArea();
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const double anchor =
            std::clamp((wheel->position().x() - plot.left()) / plot.width(), 0.0, 1.0);
        if (wheel->angleDelta().y() != 0)
            zoom(wheel->angleDelta().y() > 0 ? 0.8 : 1.25, anchor);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        setFocus(Qt::MouseFocusReason);
        pressAt_ = mouse->position().toPoint();
        pressFrom_ = view_.from;
        dragging_ = mouse->button() == Qt::LeftButton;
        return true;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (dragging_ && (pos - pressAt_).manhattanLength() >= 4) {
            const double span = view_.to - view_.from;
            const double from = pressFrom_ - (pos.x() - pressAt_.x()) / plot.width() * span;
            choice_.span = QStringLiteral("zoom");
            applyView({from, from + span});
        } else if (!dragging_) {
            showReadout(recordNear(view, pos), mouse->globalPosition().toPoint());
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const bool click = dragging_ && (pos - pressAt_).manhattanLength() < 4;
        dragging_ = false;
        if (click)
            if (const long long near = recordNear(view, pos); near >= 0) {
                showReadout(near);
                emit recordChosen(data_->dated[static_cast<std::size_t>(near)].record);
            }
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void LogChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    drawLines();
}

QImage LogChart::picture(const LogRecords* records, QSize size, const ChartRange& range,
                         const ChartData* data, std::optional<double> goal) {
    LogChart chart;
    chart.picture_ = true;
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    chart.resize(size);
    if (!data && records)
        chart.ownData_ = chartData(*records);
    chart.choice_ = range;
    chart.chosen_ = true;
    chart.goal_ = goal;
    chart.showRecords(records, data ? data : &chart.ownData_);
    // The charts take their size when first drawn and lay themselves out;
    // their ticks and labels are then placed for that size. A drawing of one
    // pixel does that, and the picture is drawn once, laid out.
    QImage pixel(1, 1, QImage::Format_RGB32);
    chart.render(&pixel, {}, QRegion(0, 0, 1, 1));
    QCoreApplication::sendPostedEvents();
    QImage image(size, QImage::Format_RGB32);
    chart.render(&image);
    return image;
}

bool LogChart::savePicture(const LogRecords* records, const QString& target,
                           const ChartRange& range, const ChartData* data,
                           std::optional<double> goal) {
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return writePng(file, picture(records, QSize(1200, 800), range, data, goal)) && file.commit();
}

} // namespace taiju::view
