// SPDX-License-Identifier: MIT
#pragma once
// A straight line drawn on the window, from one point to another of its
// parent, of a given width; it takes no input.

#include <QPoint>
#include <QWidget>

namespace taiju {

class Rule : public QWidget {
  public:
    Rule(const QString& name, QPoint from, QPoint to, int width, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPoint from_, to_;
    int width_;
};

} // namespace taiju
