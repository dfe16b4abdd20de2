#pragma once

#include "platform/linux/AtspiStateSet.h"

#include <QString>

namespace lumeno {

// The AT-SPI roles the program tells apart, numbered as GetRole answers them.
enum class AtspiRole : uint {
    invalid = 0,
    checkBox = 7,
    checkMenuItem = 8,
    comboBox = 11,
    dialog = 16,
    filler = 20,
    frame = 23,
    icon = 26,
    image = 27,
    label = 29,
    list = 31,
    listItem = 32,
    menu = 33,
    menuBar = 34,
    menuItem = 35,
    panel = 39,
    passwordText = 40,
    popupMenu = 41,
    progressBar = 42,
    pushButton = 43,
    radioButton = 44,
    radioMenuItem = 45,
    scrollBar = 48,
    scrollPane = 49,
    separator = 50,
    slider = 51,
    spinButton = 52,
    splitPane = 53,
    statusBar = 54,
    terminal = 60,
    text = 61,
    toggleButton = 62,
    toolBar = 63,
    viewport = 68,
    window = 69,
    paragraph = 73,
    application = 75,
    entry = 79,
    caption = 81,
    heading = 83,
    section = 85,
    link = 88,
    tableRow = 90,
    documentWeb = 95,
    listBox = 98,
    levelBar = 103,
    staticText = 116,
    pushButtonMenu = 129,
};

// How an AT-SPI object reads in the program's role vocabulary (AXNames.h).
struct AtspiRoleMapping {
    // What decides the role besides the AT-SPI role itself.
    struct Facts {
        AtspiStateSet states;
        bool topLevel = false;  // its parent is the application: a window whatever its role (Qt's is a filler)
        bool holdsText = false; // its Text interface holds more than embedded objects: a block of text
    };

    static QString axRole(AtspiRole role, const Facts& facts);
    static bool isPassword(AtspiRole role) { return role == AtspiRole::passwordText; }
    // Roles whose own text is a field's content rather than something to read around it.
    static bool isTextInput(AtspiRole role) {
        return role == AtspiRole::text || role == AtspiRole::entry || role == AtspiRole::passwordText;
    }
    // Roles that may answer a block of text and so need their Text interface asked before a role is known.
    static bool mayHoldText(AtspiRole role);
    // Buttons, menus, images and the like: their names are not part of the text around them.
    static bool isControl(AtspiRole role);
    // Read in the flow of the text around them, not set apart on a line of their own.
    static bool isInline(AtspiRole role) { return role == AtspiRole::link || role == AtspiRole::staticText; }
};

} // namespace lumeno
