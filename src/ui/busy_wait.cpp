// SPDX-License-Identifier: MIT
#include "ui/busy_wait.h"

#include <QApplication>

namespace taiju {

namespace {
// A wait shorter than this (another save of the tool) passes unseen.
constexpr qint64 kUnseenMs = 150;
} // namespace

BusyWait::BusyWait(QWidget* window) : window_(window) {
    since_.start();
}

BusyWait::~BusyWait() {
    if (!busy_)
        return;
    window_->setEnabled(true);
    if (focus_)
        focus_->setFocus();
    QApplication::restoreOverrideCursor();
}

void BusyWait::operator()() {
    if (!busy_) {
        if (since_.elapsed() < kUnseenMs)
            return;
        busy_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        focus_ = window_->focusWidget();
        window_->setEnabled(false);
    }
    // Input to the disabled window is dropped; paint events and the
    // window manager's requests are handled.
    QApplication::processEvents();
}

} // namespace taiju
