// SPDX-License-Identifier: MIT
// Linked into copies of the start-up benchmark's programs (never into the
// programs themselves): ends the program as soon as its window has painted
// its first frame, so that an instruction count under callgrind
// (bench/startup_callgrind.sh) is the start up to the first frame and
// nothing after it.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

class EndAfterFirstFrame : public QObject {
  protected:
    bool eventFilter(QObject* object, QEvent* e) override {
        // The window's paint event comes first in the pass that paints the
        // frame; the pass and its flush end before the timer fires.
        if (!seen_ && e->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow()) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                ::_exit(0);
            });
        }
        return false;
    }

  private:
    bool seen_ = false;
};

void install() {
    QCoreApplication::instance()->installEventFilter(new EndAfterFirstFrame);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
