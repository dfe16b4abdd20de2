#pragma once

#include "ui/TextLabel.h"

namespace lumeno {

// A one-line plain-text label that, given less width than its text needs, ends what fits with "…" instead of
// cutting the text off; its size hint is the whole text's, and it can shrink to a few characters.
class ElidedLabel : public TextLabel {
    Q_OBJECT
public:
    ElidedLabel(const QString& text, QWidget* parent, Hierarchy level = Hierarchy::primary,
                const QFont& font = TypeScale::font(13));

    const QString& fullText() const { return full_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString full_;
};

} // namespace lumeno
