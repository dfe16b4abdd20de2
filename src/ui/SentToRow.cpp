#include "ui/SentToRow.h"

#include "ui/TextLabel.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace lumeno {

SentToRow::SentToRow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    address_ = new TextLabel({}, this);
    address_->setObjectName(QStringLiteral("sentToLabel"));
    auto* change = new QPushButton(QStringLiteral("Change"), this);
    change->setObjectName(QStringLiteral("changeEmailButton"));
    change->setFlat(true);
    change->setAutoDefault(false);
    change->setCursor(Qt::PointingHandCursor);
    QPalette link = change->palette();
    link.setColor(QPalette::ButtonText, link.color(QPalette::Link));
    change->setPalette(link);
    layout->addWidget(address_);
    layout->addWidget(change);
    layout->addStretch();
    connect(change, &QPushButton::clicked, this, &SentToRow::changeRequested);
}

void SentToRow::setAddress(const QString& address) {
    address_->setText(address);
}

} // namespace lumeno
