// SPDX-License-Identifier: MIT
#pragma once
// The view "統計" of the viewer window: the figures of the range in view
// and of the whole log, the goal weight with the date the trend reaches it,
// and tables of months and years, newest first.

#include "history/stats.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace taiju::view {

class PeriodModel;

class StatsView : public QWidget {
    Q_OBJECT
  public:
    explicit StatsView(QWidget* parent = nullptr);

    // Shows the figures of the dated records `data` (date order) with
    // their set-aside flags `setAside`, of the log at the native path `log`;
    // both must stay until the next call. The figures are worked out when
    // the view is on screen.
    void showRecords(const ChartData& data, const std::vector<bool>& setAside, const QString& log);
    // The days (since 0001-01-01) of the range in view; nothing: the whole
    // log.
    void setRange(std::optional<std::pair<long long, long long>> days);

    // The goal in use: the user's own for this log, else the standard
    // weight of the latest record.
    std::optional<double> goal() const;
    // The user's own goal for this log, if any.
    std::optional<double> ownGoal() const { return ownGoal_; }

  signals:
    // The user set their own goal (nothing: back to the standard weight).
    void goalChanged(std::optional<double> ownGoal);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build();
    void showFigures();
    void showGoal();
    void goalEdited();
    void goalReset();

    const ChartData* data_ = nullptr;
    const std::vector<bool>* aside_ = nullptr;
    QString log_;
    bool stale_ = true;
    bool rangeStale_ = false; // range_ changed while the view was hidden
    std::optional<std::pair<long long, long long>> range_;
    std::optional<double> ownGoal_;
    Figures whole_; // of the whole log
    QTableWidget* figures_;
    QDoubleSpinBox* goalBox_;
    QPushButton* goalReset_;
    QLabel* projection_;
    PeriodModel* monthRows_;
    PeriodModel* yearRows_;
    QTableView* months_;
    QTableView* years_;
};

} // namespace taiju::view
