// SPDX-License-Identifier: MIT
#pragma once
// The window while a save waits for another program's lock on the log.

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

namespace taiju {

// Given to the append as its `waiting` call. A wait of more than a moment
// shows the busy cursor and disables the window, which then keeps
// repainting: clicks and keys are dropped meanwhile, so that no second save
// starts inside this one. Everything is restored when it goes.
class BusyWait {
  public:
    explicit BusyWait(QWidget* window);
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;
    ~BusyWait();

    void operator()();

  private:
    QWidget* window_;
    QPointer<QWidget> focus_; // given back when the window is enabled again
    QElapsedTimer since_;
    bool busy_ = false;
};

} // namespace taiju
