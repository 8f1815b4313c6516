#pragma once
// The chart "グラフ" of the viewer window: the weight over time with its
// trend and the standard weight, and below it the BMI over the same time
// over the four bands of the main window's legend.

#include "history/chart_data.h"

#include <QImage>
#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QDateTimeAxis;
class QValueAxis;
class QXYSeries;
class QAreaSeries;
class QLineSeries;
class QScatterSeries;

namespace taiju::view {

class LogChart : public QWidget {
    Q_OBJECT
  public:
    explicit LogChart(QWidget* parent = nullptr);
    ~LogChart() override;

    // Shows the records with a readable date (none for nullptr). `records`
    // must stay until the next call. The chart is worked out when it is on
    // screen, so that a long log costs nothing while the table is in front.
    void showRecords(const LogRecords* records);

    // Both charts drawn into a picture of `size` pixels, as a PNG export
    // shows them whatever the size of the window.
    static QImage picture(const LogRecords* records, QSize size);

    // The PNG export: the picture at 1200x800 written to `target` whole or
    // not at all. False when it cannot be written.
    static bool savePicture(const LogRecords* records, const QString& target);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // A series with all its points; what is drawn is reduced to the width.
    struct Line {
        QXYSeries* series;
        QChart* chart;
        std::vector<double> xs, ys;
    };
    void build();
    void drawLines();

    const LogRecords* records_ = nullptr;
    bool stale_ = true; // records_ changed since the chart was built
    bool building_ = false;
    ChartData data_;
    QChart* weightChart_;
    QChart* bmiChart_;
    QChartView* weightView_;
    QChartView* bmiView_;
    QDateTimeAxis* weightTime_;
    QDateTimeAxis* bmiTime_;
    QValueAxis* weightAxis_;
    QValueAxis* bmiAxis_;
    QScatterSeries* weights_;
    QLineSeries* trend_;
    QLineSeries* standard_;
    QLineSeries* bmi_;
    std::vector<QAreaSeries*> bands_;
    std::vector<Line> lines_;
    std::vector<int> drawnFor_; // the plot width each line was reduced for
    bool picture_ = false;      // drawn into a picture, never shown
};

} // namespace taiju::view
