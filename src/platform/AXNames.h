#pragma once

#include <QLatin1String>

namespace lumeno {

// The attribute, role and subrole names the program asks the Accessibility port about. The desktop side
// translates them to and from its own vocabulary, so code above the port reads the same on every desktop.
struct AXAttribute {
    static constexpr QLatin1String role{"AXRole"};
    // The role as the desktop itself names it to its users ("text", "entry"): for showing, never matching.
    static constexpr QLatin1String roleDescription{"AXRoleDescription"};
    static constexpr QLatin1String subrole{"AXSubrole"};
    static constexpr QLatin1String title{"AXTitle"};
    static constexpr QLatin1String description{"AXDescription"};
    static constexpr QLatin1String value{"AXValue"};                 // a field's whole text
    static constexpr QLatin1String selectedText{"AXSelectedText"};
    static constexpr QLatin1String selectedTextRange{"AXSelectedTextRange"};
    static constexpr QLatin1String focused{"AXFocused"};
    static constexpr QLatin1String window{"AXWindow"};               // the element's window
    static constexpr QLatin1String url{"AXURL"};                     // a web area's address
    // Out of the user's sight although in the tree: a closed popup, a panel switched away.
    static constexpr QLatin1String hidden{"AXHidden"};
};

struct AXRole {
    static constexpr QLatin1String application{"AXApplication"};
    static constexpr QLatin1String window{"AXWindow"};
    static constexpr QLatin1String webArea{"AXWebArea"};
    static constexpr QLatin1String group{"AXGroup"};
    static constexpr QLatin1String scrollArea{"AXScrollArea"};
    static constexpr QLatin1String list{"AXList"};
    static constexpr QLatin1String row{"AXRow"};
    static constexpr QLatin1String heading{"AXHeading"};
    static constexpr QLatin1String link{"AXLink"};
    static constexpr QLatin1String staticText{"AXStaticText"};
    static constexpr QLatin1String textField{"AXTextField"};
    static constexpr QLatin1String textArea{"AXTextArea"};
    static constexpr QLatin1String comboBox{"AXComboBox"};
    static constexpr QLatin1String terminal{"AXTerminal"};
    static constexpr QLatin1String button{"AXButton"};
    static constexpr QLatin1String menuButton{"AXMenuButton"};
    static constexpr QLatin1String popUpButton{"AXPopUpButton"};
    static constexpr QLatin1String checkBox{"AXCheckBox"};
    static constexpr QLatin1String radioButton{"AXRadioButton"};
    static constexpr QLatin1String menuBar{"AXMenuBar"};
    static constexpr QLatin1String menu{"AXMenu"};
    static constexpr QLatin1String menuItem{"AXMenuItem"};
    static constexpr QLatin1String toolbar{"AXToolbar"};
    static constexpr QLatin1String scrollBar{"AXScrollBar"};
    static constexpr QLatin1String slider{"AXSlider"};
    static constexpr QLatin1String image{"AXImage"};
    static constexpr QLatin1String splitter{"AXSplitter"};
    static constexpr QLatin1String progressIndicator{"AXProgressIndicator"};
    static constexpr QLatin1String statusBar{"AXStatusBar"};
};

struct AXSubrole {
    static constexpr QLatin1String secureTextField{"AXSecureTextField"};
};

} // namespace lumeno
