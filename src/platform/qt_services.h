// SPDX-License-Identifier: MIT
#pragma once
// The desktop services as Qt provides them.

#include "platform/services.h"

#include <QStringList>

class QWidget;

namespace taiju::platform {

class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const QString& message, const QString& title) override;

  private:
    QWidget* parent_;
};

class QtBeeper : public Beeper {
  public:
    void beep() override;
};

class QtClock : public Clock {
  public:
    LocalDate date() override;
    LocalTime time() override;
};

class QtAppDirectory : public AppDirectory {
  public:
    std::optional<std::u16string> path() override;
};

class QtFileDialog : public FileDialog {
  public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::u16string> open(const QString& title, const QString& filter,
                                       const std::u16string& initialFile) override;

  private:
    QWidget* parent_;
};

// The "|"-separated description/pattern list as Qt name filters: one filter
// per pair, the Windows pattern "*.*" standing for every file ("*").
QStringList nameFilters(const QString& filter);

} // namespace taiju::platform
