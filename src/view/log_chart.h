// SPDX-License-Identifier: MIT
#pragma once
// The chart "グラフ" of the viewer window: above, the range in view (1か月 to
// 全期間, or dates of one's own); then the weight over time with its daily
// trend, the standard weight and the typos set aside (外れ値); below it the
// BMI over the same time over the four named bands of the main window's
// legend; and a readout of the record under the pointer or the cursor.
//
// Mouse: the wheel zooms around the pointer, dragging pans, a click shows
// the record in the table. Keys: + and − zoom, ← and → pan, Home shows
// everything, Shift+← and Shift+→ step a cursor from record to record, Enter
// shows the cursor's record in the table.

#include "history/chart_data.h"
#include "history/trend.h"

#include <QDate>
#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QDateEdit;
class QGraphicsSimpleTextItem;
class QLabel;
class QValueAxis;
class QXYSeries;
class QAreaSeries;
class QLineSeries;
class QScatterSeries;

namespace taiju::view {

class ViewSettings;

// A range to show: "1m", "3m", "6m", "1y" or "all" up to the last record, or
// "custom" from `from` to `to` (whole days).
struct ChartRange {
    QString span = QStringLiteral("all");
    QDate from, to;
};

// Whether `name` is one of the spans above (not "custom").
bool isSpanName(const QString& name);

// The days in view of `range` (days since 0001-01-01, with fractions) over
// the dated records `data`; for an empty log the last month.
struct DayRange {
    double from, to;
};
DayRange rangeDays(const ChartData& data, const ChartRange& range);

// The span shown until one is chosen: 3か月, or 全期間 for a shorter log.
QString defaultSpan(const ChartData& data);

// Whether any dated record lies in `range`.
bool rangeHoldsRecords(const ChartData& data, const ChartRange& range);

class LogChart : public QWidget {
    Q_OBJECT
  public:
    explicit LogChart(QWidget* parent = nullptr);
    ~LogChart() override;

    // Shows the records and their chart data (none for nullptr); both must
    // stay until the next call. The chart is worked out when it is on
    // screen, so that a long log costs nothing while the table is in front.
    void showRecords(const LogRecords* records, const ChartData* data);

    // Takes the range and the 外れ値 toggle from `settings` and keeps them
    // there as they are chosen. The settings must outlive the chart.
    void useSettings(ViewSettings* settings);

    void showRange(const ChartRange& range);
    // The range in view: the span chosen, or else the days shown.
    ChartRange shownRange() const;

    // The goal weight (目標体重), drawn dotted when it differs from the
    // latest standard weight; nothing for none.
    void setGoal(std::optional<double> goal);
    std::optional<double> goal() const { return goal_; }
    void setIncludeOutliers(bool include);
    bool includeOutliers() const { return includeOutliers_; }
    // Zooms by `factor` (below 1 narrows) keeping the point at `anchor` (0
    // left to 1 right of the plot) in place; pans by `share` of the span.
    void zoom(double factor, double anchor = 0.5);
    void pan(double share);
    // Steps the cursor to the next (+1) or previous (−1) record in view.
    void stepCursor(int direction);

    DayRange viewRange() const { return view_; }
    // The readout of the record under the pointer or the cursor.
    QString readout() const;

    // Both charts drawn into a picture of `size` pixels, as a PNG export
    // shows them whatever the size of the window.
    // `data` is the records' chart data when it is at hand already.
    static QImage picture(const LogRecords* records, QSize size, const ChartRange& range = {},
                          const ChartData* data = nullptr, std::optional<double> goal = {});

    // The PNG export: the picture at 1200x800 written to `target` whole or
    // not at all. False when it cannot be written.
    static bool savePicture(const LogRecords* records, const QString& target,
                            const ChartRange& range = {}, const ChartData* data = nullptr,
                            std::optional<double> goal = {});

  signals:
    // A record was clicked or chosen with the cursor: its index in the records.
    void recordChosen(std::size_t record);
    // The toggle 外れ値を含める was set.
    void includeOutliersChanged(bool include);
    // The days in view changed (a span, dates, a zoom or a pan).
    void viewChanged();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A series with all its points; what is drawn is the part in view,
    // reduced to the width.
    struct Line {
        QXYSeries* series;
        QChart* chart;
        // The dated record of each point (not the trend's), or none when the
        // points are every dated record, one for one.
        std::vector<std::uint32_t> dated;
        bool every = false;
        SeriesSummary points; // read from the chart data, or from the trend
        std::size_t datedOf(std::size_t k) const { return every ? k : dated[k]; }
        std::size_t size() const { return points.series().size; }
        double x(std::size_t k) const { return points.series().x(k); }
        double y(std::size_t k) const { return points.series().y(k); }
    };
    enum LineIndex { kWeights, kOutliers, kTrend, kStandard, kBmi, kLines };

    void buildAxes();
    void buildBands();
    void buildSeries();
    QWidget* buildRangeBar();
    void layOut();

    void build();
    void fillLines();
    void drawLines();
    void fitValueAxes();
    void placeTicks();
    void placeLabels();
    void applyView(DayRange range);
    void showChoice();
    void showGoal();

    // The nearest drawn record to `pos` in `view`'s coordinates, or -1.
    long long recordNear(QChartView* view, QPointF pos) const;
    void showReadout(long long dated, QPoint globalPos = {});
    QString describe(std::size_t dated) const;

    const LogRecords* records_ = nullptr;
    const ChartData* data_ = nullptr;
    ChartData ownData_; // a picture's own data
    ViewSettings* settings_ = nullptr;
    ChartRange choice_;
    DayRange view_{0, 1};
    bool includeOutliers_ = false;
    std::optional<double> goal_;
    bool stale_ = true; // records_ changed since the chart was built
    bool building_ = false;
    bool picture_ = false; // drawn into a picture, never shown
    struct TrendAt {
        long long seconds; // the day's last weighing
        double trend;
    };
    std::vector<TrendAt> trend_;
    long long readoutRecord_ = -1; // dated index of the readout, or -1
    long long cursor_ = -1;        // dated index of the keyboard cursor, or -1
    QPoint pressAt_;
    double pressFrom_ = 0;
    bool dragging_ = false;
    bool placingTicks_ = false;
    bool chosen_ = false;       // choice_ was chosen, or read from the settings
    std::vector<int> drawnFor_; // the plot width each line was drawn for, or -1

    QChart* weightChart_;
    QChart* bmiChart_;
    QChartView* weightView_;
    QChartView* bmiView_;
    QCategoryAxis* weightTime_;
    QCategoryAxis* bmiTime_;
    QValueAxis* weightAxis_;
    QValueAxis* bmiAxis_;
    QScatterSeries* cursorMark_;
    QLineSeries* goalLine_;
    std::vector<QAreaSeries*> bands_;
    std::vector<QGraphicsSimpleTextItem*> bandNames_;
    std::vector<QGraphicsSimpleTextItem*> edgeValues_; // set-aside values beyond the axis
    std::vector<Line> lines_;
    QButtonGroup* spans_;
    QDateEdit* fromEdit_;
    QDateEdit* toEdit_;
    QCheckBox* outliersBox_;
    QLabel* readout_;
    QLabel* emptyNotice_;
    QWidget* charts_;
    QWidget* rangeBar_;
};

} // namespace taiju::view
