#include "overlay/OverlayControls.h"

#include "ui/ActionButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/SymbolButton.h"

namespace lumeno {

CapsuleContent OverlayControls::badge(const QString& text, const QString& symbol, bool dimmed) {
    CapsuleStyle style;
    style.fontSize = 11;
    style.weight = QFont::Medium;
    style.foreground = Ink::of(dimmed ? Hierarchy::tertiary : Hierarchy::secondary);
    style.fill = Ink::of(Hierarchy::quaternary);
    style.padding = {7, 3, 7, 3};
    style.maxContentWidth = 140;
    return {text, symbol, style};
}

SymbolButton* OverlayControls::closeButton(std::function<void()> action, QWidget* parent) {
    auto* button = new SymbolButton({QStringLiteral("xmark"), 9, QFont::Bold, Ink::of(Hierarchy::secondary), 18,
                                     Ink::of(Hierarchy::quaternary)},
                                    parent);
    button->setObjectName(QStringLiteral("closeButton"));
    button->setToolTip(QStringLiteral("Cancel (Esc)"));
    button->setAccessibleName(QStringLiteral("Cancel"));
    QObject::connect(button, &SymbolButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

SymbolButton* OverlayControls::detailsButton(std::function<void()> action, QWidget* parent) {
    auto* button = new SymbolButton(
        {QStringLiteral("info.circle"), 14, QFont::Normal, Ink::of(Hierarchy::secondary), 0, std::nullopt}, parent);
    button->setObjectName(QStringLiteral("detailsButton"));
    button->setToolTip(QStringLiteral("Draft Details: what this draft was built from"));
    button->setAccessibleName(QStringLiteral("Draft Details"));
    QObject::connect(button, &SymbolButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

CapsuleLabel* OverlayControls::editTag(QWidget* parent) {
    CapsuleStyle style;
    style.fontSize = 11;
    style.weight = QFont::DemiBold;
    style.foreground = Ink::fixed(Qt::white);
    style.fill = Ink::accent();
    style.padding = {7, 3, 7, 3};
    auto* tag = new CapsuleLabel({QStringLiteral("Edit"), QStringLiteral("pencil"), style}, parent);
    tag->setObjectName(QStringLiteral("editTag"));
    tag->setToolTip(QStringLiteral("Edit mode: what you say changes the text in the field."));
    return tag;
}

ActionButton* OverlayControls::button(const QString& title, bool prominent, const QString& objectName,
                                      std::function<void()> action, QWidget* parent) {
    auto* button =
        new ActionButton(title, prominent ? ActionButton::Look::prominent : ActionButton::Look::bordered, parent);
    button->setObjectName(objectName);
    QObject::connect(button, &ActionButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

} // namespace lumeno
