#include "overlay/MessageRow.h"

#include "overlay/FittingText.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "ui/ActionButton.h"
#include "ui/SymbolButton.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumeno {

MessageRow::MessageRow(const OverlayMessage& message, OverlayModel& model, QWidget* parent) : QWidget(parent) {
    const bool error = message.kind == OverlayMessage::Kind::error;
    auto* icon = new SymbolView(error ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("info.circle.fill"),
                                15, error ? Ink::fixed(Tint::orange()) : Ink::of(Hierarchy::secondary), this);
    icon->setObjectName(QStringLiteral("messageIcon"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* title = new FittingText({13, QFont::Medium, 2, 280, Qt::ElideRight, false}, this);
    title->setObjectName(QStringLiteral("messageTitle"));
    title->setText(message.title);
    texts->addWidget(title, 0, Qt::AlignLeft);
    if (message.detail) {
        auto* detail = new FittingText({12, QFont::Normal, 4, 280, Qt::ElideRight, true}, this);
        detail->setObjectName(QStringLiteral("messageDetail"));
        detail->setText(*message.detail);
        texts->addWidget(detail, 0, Qt::AlignLeft);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(icon);
    layout->addLayout(texts);
    if (const auto action = message.action)
        layout->addWidget(OverlayControls::button(action->buttonTitle(), true, QStringLiteral("actionButton"),
                                                  [&model, action] { model.act(*action); }, this));
    if (model.showsDetailsButton())
        layout->addWidget(OverlayControls::detailsButton([&model] { model.showDetails(); }, this));
    layout->addWidget(OverlayControls::closeButton([&model] { model.cancel(); }, this));
}

} // namespace lumeno
