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
class QTableWidget;

namespace taiju::view {

class StatsView : public QWidget {
    Q_OBJECT
  public:
    explicit StatsView(QWidget* parent = nullptr);

    // Shows the figures of `records` (none for nullptr), the log at the
    // native path `log`; `records` must stay until the next call. They are
    // worked out when the view is on screen.
    void showRecords(const LogRecords* records, const QString& log);
    // The days (since 0001-01-01) of the range in view; nothing: the whole
    // log.
    void setRange(std::optional<std::pair<long long, long long>> days);

    // The goal in use: the user's own for this log, else the standard
    // weight of the latest record.
    std::optional<double> goal() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void build();
    void showFigures();
    void showGoal();
    void goalEdited();
    void goalReset();

    const LogRecords* records_ = nullptr;
    QString log_;
    bool stale_ = true;
    std::optional<std::pair<long long, long long>> range_;
    std::optional<double> ownGoal_;
    ChartData data_;
    std::vector<bool> aside_;
    std::vector<double> trend_;
    Figures whole_; // of the whole log
    QTableWidget* figures_;
    QDoubleSpinBox* goalBox_;
    QPushButton* goalReset_;
    QLabel* projection_;
    QTableWidget* months_;
    QTableWidget* years_;
};

} // namespace taiju::view
