#pragma once

#include "ui/CapsuleContent.h"

#include <QWidget>

namespace lumeno {

// A capsule that only shows: a badge or a tag.
class CapsuleLabel : public QWidget {
    Q_OBJECT
public:
    explicit CapsuleLabel(CapsuleContent content, QWidget* parent = nullptr);

    const CapsuleContent& content() const { return content_; }
    void setContent(const CapsuleContent& content);
    QString text() const { return content_.text; }

    QSize sizeHint() const override { return content_.sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CapsuleContent content_;
};

} // namespace lumeno
