#include "details/LongText.h"

#include "ui/TypeScale.h"
#include "ui/WrappingText.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumeno {

LongText::LongText(const QString& title, const QString& text, bool expanded, QWidget* parent)
    : QWidget(parent), disclosure_(new QToolButton(this)),
      body_(new WrappingText(text, Qt::AlignLeading, Hierarchy::primary, TypeScale::font(12), this)) {
    setObjectName(QStringLiteral("longText"));
    disclosure_->setObjectName(QStringLiteral("disclosure"));
    disclosure_->setText(title);
    disclosure_->setCheckable(true);
    disclosure_->setAutoRaise(true);
    disclosure_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    disclosure_->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; text-align: left; }"));
    connect(disclosure_, &QToolButton::toggled, this, &LongText::setExpanded);
    connect(disclosure_, &QToolButton::clicked, this, &LongText::expandedByUser);

    body_->setObjectName(QStringLiteral("longTextBody"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(disclosure_);
    auto* indented = new QHBoxLayout;
    indented->setContentsMargins(18, 2, 0, 2);
    indented->addWidget(body_);
    layout->addLayout(indented);
    setExpanded(expanded);
}

QString LongText::title() const {
    return disclosure_->text();
}

QString LongText::text() const {
    return body_->text();
}

bool LongText::isExpanded() const {
    return disclosure_->isChecked();
}

void LongText::setExpanded(bool expanded) {
    disclosure_->setChecked(expanded);
    disclosure_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    body_->setVisible(expanded);
}

} // namespace lumeno
