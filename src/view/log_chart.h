#pragma once
// The chart "グラフ" of the viewer window: the weight over time with its
// trend and the standard weight, and below it the BMI over the same time
// over the four bands of the main window's legend.

#include "view/chart_data.h"

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

    // Shows the records with a readable date (none for nullptr).
    void showRecords(const LogRecords* records);
    const ChartData& data() const { return data_; }

    // Both charts drawn into a picture of `size` pixels, as a PNG export
    // shows them whatever the size of the window.
    static QImage picture(const LogRecords* records, QSize size);

  private:
    // A series with all its points; what is drawn is reduced to the width.
    struct Line {
        QXYSeries* series;
        QChart* chart;
        std::vector<double> xs, ys;
    };
    void drawLines();

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
};

} // namespace taiju::view
