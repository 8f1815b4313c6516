#include "view/log_chart.h"

#include "eval/bands.h"

#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QScatterSeries>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace taiju::view {

namespace {

constexpr double kDayMs = 24.0 * 60 * 60 * 1000;
// The pixel columns a series is reduced for before the chart has its size.
constexpr int kDefaultColumns = 1200;

// The band edges of the BMI, as the main window's legend paints them.
constexpr double kBandEdges[] = {20, 24, 26.5};
const char16_t* const kBandNames[] = {u"やせぎみ", u"正常体重", u"やや肥満", u"肥満"};

QColor colour(Colour bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Stamps as the chart's time axis counts them: milliseconds since 1970 UTC
// of a local date and time. Converting a local time through the C library
// looks at the time-zone file each time, so the offset from UTC is taken from
// the time zone's own table once per month, and each stamp is converted on
// its own only in a month that begins and ends with different offsets.
class AxisClock {
  public:
    double at(const Stamp& s) {
        const int month = s.year * 12 + s.month;
        auto found = monthOffsets_.find(month);
        if (found == monthOffsets_.end())
            found = monthOffsets_.emplace(month, constantOffset(s.year, s.month)).first;
        if (!found->second)
            return static_cast<double>(
                QDateTime(QDate(s.year, s.month, s.day), QTime(s.hour, s.minute, s.second))
                    .toMSecsSinceEpoch());
        return static_cast<double>(stampSeconds(s) - kEpoch - *found->second) * 1000;
    }

  private:
    std::optional<int> constantOffset(int year, int month) const {
        const QDate first(year, month, 1);
        const int offset = zone_.offsetFromUtc(QDateTime(first, QTime(0, 0), QTimeZone::utc()));
        const QDateTime last(first.addDays(first.daysInMonth() - 1), QTime(23, 59, 59),
                             QTimeZone::utc());
        return zone_.offsetFromUtc(last) == offset ? std::optional<int>(offset) : std::nullopt;
    }

    // 1970-01-01 counted from 0001-01-01, in seconds.
    static constexpr long long kEpoch = 719162LL * 86400;
    const QTimeZone zone_ = QTimeZone::systemTimeZone();
    std::unordered_map<int, std::optional<int>> monthOffsets_;
};

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
    chart->setMargins(QMargins(6, 6, 6, 6));
    return chart;
}

QDateTimeAxis* newTimeAxis() {
    auto* axis = new QDateTimeAxis;
    axis->setTitleText(QStringLiteral("日付"));
    axis->setTitleFont(windowFont(9));
    axis->setLabelsFont(windowFont(9));
    axis->setTickCount(7);
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

} // namespace

LogChart::LogChart(QWidget* parent) : QWidget(parent) {
    weightChart_ = newChart(QStringLiteral("体重"));
    bmiChart_ = newChart(QStringLiteral("BMI"));
    weightTime_ = newTimeAxis();
    bmiTime_ = newTimeAxis();
    weightAxis_ = newValueAxis(QStringLiteral("体重(kg)"));
    bmiAxis_ = newValueAxis(QStringLiteral("BMI"));
    weightChart_->addAxis(weightTime_, Qt::AlignBottom);
    weightChart_->addAxis(weightAxis_, Qt::AlignLeft);
    bmiChart_->addAxis(bmiTime_, Qt::AlignBottom);
    bmiChart_->addAxis(bmiAxis_, Qt::AlignLeft);

    // The BMI bands, behind the BMI line, in the legend's colours.
    for (int band = 0; band < 4; ++band) {
        auto* area = new QAreaSeries(new QLineSeries, new QLineSeries);
        area->setName(QString::fromUtf16(kBandNames[band]));
        area->setObjectName(QStringLiteral("bmiBand%1").arg(band + 1));
        area->setBrush(colour(bandColour(band + 1)));
        area->setPen(Qt::NoPen);
        bmiChart_->addSeries(area);
        attach(area, bmiTime_, bmiAxis_);
        bands_.push_back(area);
    }

    weights_ = addSeries<QScatterSeries>(weightChart_, QStringLiteral("体重"), "weightSeries");
    // Drawn as a picture per point rather than a graphics item per point, so
    // that thousands of points stay quick to redraw.
    const QColor weightColour(40, 90, 200);
    QImage dot(12, 12, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    QPainter paint(&dot);
    paint.setRenderHint(QPainter::Antialiasing);
    paint.setPen(Qt::NoPen);
    paint.setBrush(weightColour);
    paint.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    paint.end();
    weights_->setMarkerSize(6);
    weights_->setLightMarker(dot);
    weights_->setColor(weightColour);
    weights_->setBorderColor(weightColour);
    trend_ = addSeries<QLineSeries>(weightChart_, QStringLiteral("傾向（平滑化）"), "trendSeries");
    trend_->setPen(QPen(QColor(200, 30, 30), 2.5));
    standard_ = addSeries<QLineSeries>(weightChart_, QStringLiteral("標準体重"), "standardSeries");
    standard_->setPen(QPen(QColor(20, 120, 20), 1.5, Qt::DashLine));
    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(weights_), static_cast<QAbstractSeries*>(trend_),
          static_cast<QAbstractSeries*>(standard_)})
        attach(s, weightTime_, weightAxis_);
    bmi_ = addSeries<QLineSeries>(bmiChart_, QStringLiteral("BMI"), "bmiSeries");
    bmi_->setPen(QPen(Qt::black, 1.5));
    attach(bmi_, bmiTime_, bmiAxis_);

    lines_ = {{weights_, weightChart_, {}, {}},
              {trend_, weightChart_, {}, {}},
              {standard_, weightChart_, {}, {}},
              {bmi_, bmiChart_, {}, {}}};

    weightView_ = new QChartView(weightChart_, this);
    bmiView_ = new QChartView(bmiChart_, this);
    for (QChartView* view : {weightView_, bmiView_}) {
        view->setRenderHint(QPainter::Antialiasing);
        connect(view->chart(), &QChart::plotAreaChanged, this, [this] { drawLines(); });
    }
    weightView_->setObjectName(QStringLiteral("weightChart"));
    bmiView_->setObjectName(QStringLiteral("bmiChart"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(weightView_, 3);
    layout->addWidget(bmiView_, 2);

    showRecords(nullptr);
}

LogChart::~LogChart() = default;

void LogChart::showRecords(const LogRecords* records) {
    records_ = records;
    stale_ = true;
    if (isVisible() || picture_)
        build();
}

void LogChart::build() {
    building_ = true;
    data_ = records_ ? chartData(*records_) : ChartData{};
    for (Line& line : lines_) {
        line.xs.clear();
        line.ys.clear();
    }
    Line& weights = lines_[0];
    Line& trend = lines_[1];
    Line& standard = lines_[2];
    Line& bmi = lines_[3];
    double firstTime = INFINITY, lastTime = -INFINITY;
    AxisClock clock;
    for (const DatedRecord& d : data_.dated) {
        const double x = clock.at(d.stamp);
        firstTime = std::min(firstTime, x);
        lastTime = std::max(lastTime, x);
        for (auto [line, value] : {std::pair{&weights, d.weight}, std::pair{&standard, d.standard},
                                   std::pair{&bmi, d.bmi}}) {
            if (plottable(value)) {
                line->xs.push_back(x);
                line->ys.push_back(value);
            }
        }
    }
    trend.xs = weights.xs;
    trend.ys = weightTrend(weights.ys);

    // The time axis: the dated records, or the last month when there are none.
    if (data_.dated.empty()) {
        lastTime = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
        firstTime = lastTime - 30 * kDayMs;
    }
    const double pad = std::max((lastTime - firstTime) * 0.02, kDayMs);
    const double days = (lastTime - firstTime) / kDayMs;
    const QString format = days > 3 * 366 ? QStringLiteral("yyyy")
                           : days > 90    ? QStringLiteral("yyyy/MM")
                           : days > 7     ? QStringLiteral("MM/dd")
                                          : QStringLiteral("MM/dd HH:mm");
    for (QDateTimeAxis* axis : {weightTime_, bmiTime_}) {
        axis->setFormat(format);
        axis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(firstTime - pad)),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(lastTime + pad)));
    }

    // The weight axis holds weights, trend and standard weights.
    double low = INFINITY, high = -INFINITY;
    for (const Line* line : {&weights, &trend, &standard})
        for (double y : line->ys) {
            low = std::min(low, y);
            high = std::max(high, y);
        }
    if (low > high) {
        low = 40;
        high = 80;
    }
    const double margin = std::max((high - low) * 0.05, 1.0);
    weightAxis_->setRange(std::max(low - margin, 0.0), high + margin);
    weightAxis_->applyNiceNumbers();

    // The BMI axis shows every band's edge.
    double bmiLow = 18, bmiHigh = 28;
    for (double y : bmi.ys) {
        bmiLow = std::min(bmiLow, y - 1);
        bmiHigh = std::max(bmiHigh, y + 1);
    }
    bmiAxis_->setRange(std::max(bmiLow, 0.0), bmiHigh);
    bmiAxis_->applyNiceNumbers();
    const double edges[] = {bmiAxis_->min(), kBandEdges[0], kBandEdges[1], kBandEdges[2],
                            bmiAxis_->max()};
    const double left = firstTime - pad, right = lastTime + pad;
    for (std::size_t band = 0; band < bands_.size(); ++band) {
        bands_[band]->lowerSeries()->replace({{left, edges[band]}, {right, edges[band]}});
        bands_[band]->upperSeries()->replace({{left, edges[band + 1]}, {right, edges[band + 1]}});
    }

    weightChart_->setTitle(data_.dated.empty()
                               ? QStringLiteral("体重（日付の読める記録がありません）")
                               : QStringLiteral("体重"));
    drawnFor_.assign(lines_.size(), -1);
    building_ = false;
    stale_ = false;
    drawLines();
}

void LogChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    drawLines();
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
        QList<QPointF> points;
        for (std::size_t k : pointsToDraw(line.xs, line.ys, static_cast<std::size_t>(columns)))
            points.append(QPointF(line.xs[k], line.ys[k]));
        line.series->replace(points);
    }
}

QImage LogChart::picture(const LogRecords* records, QSize size) {
    LogChart chart;
    chart.picture_ = true;
    chart.setAttribute(Qt::WA_DontShowOnScreen);
    chart.resize(size);
    chart.showRecords(records);
    // Lays the charts out at that size before they are drawn.
    chart.layout()->activate();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    chart.render(&image);
    return image;
}

bool LogChart::savePicture(const LogRecords* records, const QString& target) {
    QSaveFile file(target);
    return file.open(QIODevice::WriteOnly) &&
           picture(records, QSize(1200, 800)).save(&file, "PNG") && file.commit();
}

} // namespace taiju::view
