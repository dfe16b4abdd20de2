#pragma once

#include "platform/KeyboardLayoutSource.h"

#include <QHash>
#include <QMap>

namespace lumeno {

// A scripted keyboard layout: US English until the test gives another. Every change is announced.
class FakeKeyboardLayoutSource final : public KeyboardLayoutSource {
public:
    using Layout = QHash<quint16, QString>; // virtual key code -> the character it types
    using Roles = QMap<quint16, KeyRole>;    // keys that are not ordinary

    FakeKeyboardLayoutSource() : layout_(usLayout()) {}

    std::optional<QString> character(quint16 virtualKeyCode) const override;
    KeyRole role(quint16 virtualKeyCode) const override;
    // Keys reach the fake desktop's widgets without native codes.
    std::optional<quint16> physicalKey(quint32) const override { return std::nullopt; }

    void setLayout(Layout layout, Roles roles = {});
    static Layout usLayout();
    // A German layout: Y and Z swapped, and the right Alt key is AltGr.
    static Layout germanLayout();
    static Roles germanRoles();

private:
    Layout layout_;
    Roles roles_;
};

} // namespace lumeno
