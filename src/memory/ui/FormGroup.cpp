#include "memory/ui/FormGroup.h"

#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace lumeno {

namespace {

class GroupBox : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(hierarchicalColor(palette(), Hierarchy::quaternary), 1));
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
};

QLabel* quietLabel(const QString& text, qreal size, QFont::Weight weight, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(TypeScale::font(size, weight));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette quiet = label->palette();
    quiet.setColor(QPalette::WindowText, hierarchicalColor(label->palette(), Hierarchy::secondary));
    label->setPalette(quiet);
    return label;
}

} // namespace

FormGroup::FormGroup(const QString& header, QWidget* parent)
    : QWidget(parent), footer_(quietLabel(QString(), 11, QFont::Normal, this)) {
    auto* box = new GroupBox(this);
    content_ = new QVBoxLayout(box);
    content_->setContentsMargins(12, 10, 12, 10);
    content_->setSpacing(8);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    if (!header.isEmpty()) {
        QLabel* heading = quietLabel(header, 11, QFont::DemiBold, this);
        heading->setContentsMargins(10, 0, 0, 0);
        layout->addWidget(heading);
    }
    layout->addWidget(box);
    footer_->setContentsMargins(10, 0, 10, 0);
    footer_->hide();
    layout->addWidget(footer_);
}

void FormGroup::setFooter(const QString& text) {
    footer_->setText(text);
    footer_->setVisible(!text.isEmpty());
}

} // namespace lumeno
