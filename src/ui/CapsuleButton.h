#pragma once

#include "ui/CapsuleContent.h"

#include <QAbstractButton>

namespace lumeno {

// A capsule that can be clicked: a chip or a badge that toggles. The capsule is the whole button (no
// bezel); it darkens under the pointer and while pressed. A disabled capsule keeps its colours, so a
// finished chip still reads clearly.
class CapsuleButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CapsuleButton(CapsuleContent content, QWidget* parent = nullptr);

    const CapsuleContent& content() const { return content_; }
    void setContent(const CapsuleContent& content);

    QSize sizeHint() const override { return content_.sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CapsuleContent content_;
};

} // namespace lumeno
