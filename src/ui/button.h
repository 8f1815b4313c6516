#pragma once
// The window's push button: Enter presses it as Space does while it has the
// focus, the focus shows as a dark frame inside its edge, a caption too wide
// for one line is wrapped onto lines of even length, centred, and a tooltip
// wider than the window is wrapped to the window's width. Its text and
// tooltip stay as they are set.

#include <QPushButton>

namespace taiju {

class Button : public QPushButton {
  public:
    explicit Button(QWidget* parent = nullptr);

    // The caption as it is drawn: its lines joined by "\n", a single line
    // when it fits the width the style leaves for it.
    QString shownCaption() const;

  protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    static bool isEnter(const QKeyEvent* e);
};

// `text` broken into the fewest lines no wider than `width` in `font`, the
// lines as even in length as the break opportunities allow; joined by "\n".
QString wrapEvenly(const QString& text, const QFont& font, qreal width);

} // namespace taiju
