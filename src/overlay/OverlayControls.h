#pragma once

#include "ui/CapsuleContent.h"

#include <QString>

#include <functional>

class QWidget;

namespace lumeno {

class ActionButton;
class CapsuleLabel;
class SymbolButton;

// The small controls the overlay's rows share, each built with its look, help text and object name.
struct OverlayControls {
    // A badge's capsule: symbol and text in small medium type, at most 140 wide inside its padding.
    static CapsuleContent badge(const QString& text, const QString& symbol, bool dimmed);

    // The cross that cancels the dictation.
    static SymbolButton* closeButton(std::function<void()> action, QWidget* parent);
    // The information button that opens the draft details window.
    static SymbolButton* detailsButton(std::function<void()> action, QWidget* parent);
    // The accent "Edit" tag of an edit by voice.
    static CapsuleLabel* editTag(QWidget* parent);
    // A small text button calling `action`.
    static ActionButton* button(const QString& title, bool prominent, const QString& objectName,
                                std::function<void()> action, QWidget* parent);
};

} // namespace lumeno
