#pragma once

#include "platform/KeyboardLayoutSource.h"

#include <QHash>

namespace lumeno {

// A scripted keyboard layout: US English until the test gives another.
class FakeKeyboardLayoutSource final : public KeyboardLayoutSource {
public:
    using Layout = QHash<quint16, QString>; // virtual key code -> the character it types

    FakeKeyboardLayoutSource() : layout_(usLayout()) {}

    std::optional<QString> character(quint16 virtualKeyCode) const override;

    void setLayout(Layout layout) { layout_ = std::move(layout); }
    static Layout usLayout();

private:
    Layout layout_;
};

} // namespace lumeno
