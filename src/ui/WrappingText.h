#pragma once

#include "ui/Hierarchy.h"

#include <QTextEdit>

namespace lumeno {

// Read-only text shown whole, wrapped to the width it is given and never cut: between words where it can,
// and inside a word (a long web address) where one alone is wider than the line. It takes the height its
// lines need at that width, can be selected and copied, and is drawn like a label, at a level of the
// hierarchy on no background of its own. Plain text only: text from anywhere is never read as markup.
class WrappingText : public QTextEdit {
    Q_OBJECT
public:
    WrappingText(const QString& text, Qt::Alignment alignment, Hierarchy level, const QFont& font,
                 QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // As wide as the longest line unwrapped; it gives up width down to a few characters.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QSizeF laidOut(qreal width) const;
};

} // namespace lumeno
