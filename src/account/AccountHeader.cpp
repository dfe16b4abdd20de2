#include "account/AccountHeader.h"

#include "ui/TextLabel.h"
#include "ui/SymbolView.h"

#include <QHBoxLayout>

namespace lumeno {

AccountHeader::AccountHeader(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(
        new SymbolView(QStringLiteral("person.crop.circle"), 34, Ink::of(Hierarchy::secondary), this));
    auto* lines = new QVBoxLayout;
    lines->setSpacing(1);
    title_ = new TextLabel({}, this, Hierarchy::primary, TypeScale::font(17, QFont::DemiBold));
    title_->setObjectName(QStringLiteral("headerTitle"));
    title_->setWordWrap(true);
    subtitle_ = new TextLabel({}, this, Hierarchy::secondary, TypeScale::font(12));
    subtitle_->setObjectName(QStringLiteral("headerSubtitle"));
    subtitle_->setWordWrap(true);
    lines->addWidget(title_);
    lines->addWidget(subtitle_);
    layout->addLayout(lines, 1);
}

void AccountHeader::setLines(const QString& title, const QString& subtitle) {
    title_->setText(title);
    subtitle_->setText(subtitle);
    subtitle_->setVisible(!subtitle.isEmpty());
}

} // namespace lumeno
