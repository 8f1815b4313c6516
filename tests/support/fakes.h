// SPDX-License-Identifier: MIT
#pragma once
// Recording stand-ins for the desktop services, for the window tests and the
// benchmarks: each records what the window asked of it.

#include "platform/services.h"

#include <functional>
#include <vector>

namespace taiju::testing {

class FakeMessageBox : public platform::MessageBox {
  public:
    struct Shown {
        QString message;
        QString title;
    };
    void show(const QString& message, const QString& title) override {
        shown.push_back({message, title});
        if (onShow)
            onShow();
    }
    std::vector<Shown> shown;
    std::function<void()> onShow; // runs while the "box" is open
};

class FakeBeeper : public platform::Beeper {
  public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

class FakeClock : public platform::Clock {
  public:
    platform::LocalDate date() override { return today; }
    platform::LocalTime time() override { return now; }
    platform::LocalDate today{2003, 5, 1};
    platform::LocalTime now{7, 30, 0};
};

class FakeAppDirectory : public platform::AppDirectory {
  public:
    std::optional<std::u16string> path() override { return dir; }
    std::optional<std::u16string> dir; // set by each test to a folder of its own
};

class FakeFileDialog : public platform::FileDialog {
  public:
    struct Call {
        QString title;
        QString filter;
        std::u16string initialFile;
    };
    std::optional<std::u16string> open(const QString& title, const QString& filter,
                                       const std::u16string& initialFile) override {
        calls.push_back({title, filter, initialFile});
        return answer;
    }
    std::vector<Call> calls;
    std::optional<std::u16string> answer; // nothing: the user cancels
};

} // namespace taiju::testing
