// SPDX-License-Identifier: MIT
#pragma once
// The label that shows the log file's path. Its caption (text()) stays the
// Windows form that the tool keeps and the save button reads; what it shows
// is the native form, broken at any character and whole within its box. A
// path too long for the box shows its beginning and its file name with an
// ellipsis between; the whole native path is its accessible description.

#include "ui/caption.h"

#include <QTextLayout>

#include <memory>

namespace taiju {

class PathLabel : public Caption {
  public:
    explicit PathLabel(QWidget* parent = nullptr);

    // Sets the caption (Windows form) and what the label shows for it.
    void setText(const QString& caption);
    // The path as shown, with "…" where a part is left out.
    QString shownPath();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    // The native form of the caption, or the caption where it has none.
    QString nativePath() const;
    // `shown` laid out in the box, broken at any character.
    std::unique_ptr<QTextLayout> laidOut(const QString& shown) const;
    bool fits(const QTextLayout& layout) const;
    bool fits(const QString& shown) const { return fits(*laidOut(shown)); }
    void refresh();

    QSize box_; // the size of the box the shown path was laid out in
    QString shown_;
    // shown_ laid out, kept for painting; none when the caption or the font
    // changed since
    std::unique_ptr<QTextLayout> layout_;
};

} // namespace taiju
