// SPDX-License-Identifier: MIT
#pragma once
// The window's push button: Enter presses it as Space does while it has the
// focus, the focus shows as a dark frame inside its edge, a caption too wide
// for one line is wrapped onto lines of even length, centred, and a tooltip
// wider than the window is wrapped to the window's width. Its text and
// tooltip stay as they are set. It may draw a flat face of its own instead
// of the style's button (setFace), with no style sheet to load.

#include <QColor>
#include <QPushButton>

class QStyleOptionButton;

namespace taiju {

class Button : public QPushButton {
  public:
    explicit Button(QWidget* parent = nullptr);

    // The caption as it is drawn: its lines joined by "\n", a single line
    // when it fits the width the style (or the face's border) leaves for it.
    QString shownCaption() const;

    // Draws the button as a flat face of `fill` with a thin `border` of
    // rounded corners and a black caption, instead of the style's button;
    // pressed, the border is two pixels wide and sunken.
    void setFace(const QColor& fill, const QColor& border);

  protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    static bool isEnter(const QKeyEvent* e);
    // Where the caption goes: the style's contents, or inside the face's border.
    QRect captionRect(const QStyleOptionButton& opt) const;
    void paintFace(QPainter& p, const QString& shown) const;

    QColor fill_, border_;
};

} // namespace taiju
