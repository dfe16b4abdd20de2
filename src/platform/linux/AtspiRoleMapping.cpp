#include "platform/linux/AtspiRole.h"

#include "platform/AXNames.h"

#include <QSet>

namespace lumeno {

bool AtspiRoleMapping::mayHoldText(AtspiRole role) {
    switch (role) {
    case AtspiRole::section:
    case AtspiRole::panel:
    case AtspiRole::filler:
    case AtspiRole::listItem:
    case AtspiRole::tableRow:
        return true;
    default:
        return false;
    }
}

bool AtspiRoleMapping::isControl(AtspiRole role) {
    static const QSet<QString> controls = {
        AXRole::button,  AXRole::menuButton, AXRole::popUpButton, AXRole::checkBox, AXRole::radioButton,
        AXRole::menuBar, AXRole::menu,       AXRole::menuItem,    AXRole::toolbar,  AXRole::scrollBar,
        AXRole::slider,  AXRole::image,      AXRole::splitter,    AXRole::progressIndicator,
    };
    return controls.contains(axRole(role, {}));
}

QString AtspiRoleMapping::axRole(AtspiRole role, const Facts& facts) {
    if (role == AtspiRole::application)
        return AXRole::application;
    if (facts.topLevel || role == AtspiRole::frame || role == AtspiRole::window || role == AtspiRole::dialog)
        return AXRole::window;
    if (isTextInput(role))
        return facts.states.has(AtspiState::multiLine) ? AXRole::textArea : AXRole::textField;
    // A contenteditable element on a web page is a section (or paragraph) that is editable; a document in
    // design mode (a mail client's compose body) is editable all of it.
    if (facts.states.has(AtspiState::editable) && !facts.states.has(AtspiState::readOnly) &&
        role != AtspiRole::comboBox && role != AtspiRole::spinButton)
        return AXRole::textArea;
    switch (role) {
    case AtspiRole::documentWeb:
        return AXRole::webArea;
    case AtspiRole::comboBox:
        return AXRole::comboBox;
    case AtspiRole::terminal:
        return AXRole::terminal;
    case AtspiRole::pushButton:
    case AtspiRole::toggleButton:
        return AXRole::button;
    case AtspiRole::pushButtonMenu:
        return AXRole::menuButton;
    case AtspiRole::checkBox:
        return AXRole::checkBox;
    case AtspiRole::radioButton:
        return AXRole::radioButton;
    case AtspiRole::menuBar:
        return AXRole::menuBar;
    case AtspiRole::menu:
    case AtspiRole::popupMenu:
        return AXRole::menu;
    case AtspiRole::menuItem:
    case AtspiRole::checkMenuItem:
    case AtspiRole::radioMenuItem:
        return AXRole::menuItem;
    case AtspiRole::toolBar:
        return AXRole::toolbar;
    case AtspiRole::scrollBar:
        return AXRole::scrollBar;
    case AtspiRole::slider:
        return AXRole::slider;
    case AtspiRole::image:
    case AtspiRole::icon:
        return AXRole::image;
    case AtspiRole::separator:
    case AtspiRole::splitPane:
        return AXRole::splitter;
    case AtspiRole::progressBar:
    case AtspiRole::levelBar:
        return AXRole::progressIndicator;
    case AtspiRole::statusBar:
        return AXRole::statusBar;
    case AtspiRole::heading:
        return AXRole::heading;
    case AtspiRole::link:
        return AXRole::link;
    case AtspiRole::list:
    case AtspiRole::listBox:
        return AXRole::list;
    case AtspiRole::label:
    case AtspiRole::staticText:
    case AtspiRole::paragraph:
    case AtspiRole::caption:
        return AXRole::staticText;
    case AtspiRole::scrollPane:
    case AtspiRole::viewport:
        return AXRole::scrollArea;
    default:
        break;
    }
    // A web page's message is often a section holding its words directly: read it as one block of text.
    if (facts.holdsText && mayHoldText(role))
        return AXRole::staticText;
    if (role == AtspiRole::listItem || role == AtspiRole::tableRow)
        return AXRole::row;
    return AXRole::group;
}

} // namespace lumeno
