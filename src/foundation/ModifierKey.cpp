#include "foundation/ModifierKey.h"

#include "platform/VirtualKeyCodes.h"

namespace lumeno {

quint16 keyCode(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption:
        return VirtualKey::rightOption;
    case ModifierKey::rightCommand:
        return VirtualKey::rightCommand;
    case ModifierKey::rightControl:
        return VirtualKey::rightControl;
    case ModifierKey::fn:
        return VirtualKey::function;
    }
    return VirtualKey::function;
}

quint64 editModifier(ModifierKey key) {
    return key == ModifierKey::rightCommand ? VirtualKey::optionFlag : VirtualKey::commandFlag;
}

} // namespace lumeno
