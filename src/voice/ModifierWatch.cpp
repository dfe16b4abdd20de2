#include "voice/ModifierWatch.h"

#include "platform/VirtualKeyCodes.h"
#include "voice/PressTracker.h"

namespace lumeno {

namespace {

using namespace VirtualKey;

constexpr quint64 allModifiers = commandFlag | optionFlag | controlFlag | shiftFlag | functionFlag;

quint64 genericFlag(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption:
        return optionFlag;
    case ModifierKey::rightCommand:
        return commandFlag;
    case ModifierKey::rightControl:
        return controlFlag;
    case ModifierKey::fn:
        return functionFlag;
    }
    return 0;
}

} // namespace

ModifierWatch::ModifierWatch(ModifierKey key, PressTracker& tracker, quint64 initial)
    : keyBit_(keyBit(key)), editFlag_(editModifier(key)),
      otherFlags_(allModifiers & ~genericFlag(key) & ~editModifier(key)), tracker_(tracker), last_(initial) {}

void ModifierWatch::update(quint64 modifiers, GlobalHotkeys::KeyTime at) {
    const bool down = modifiers & keyBit_, wasDown = last_ & keyBit_;
    const bool edit = modifiers & editFlag_, wasEdit = last_ & editFlag_;
    last_ = modifiers;
    if (down && !wasDown) {
        if (!(modifiers & otherFlags_))
            tracker_.keyDown(edit, true, at);
    } else if (!down && wasDown) {
        tracker_.keyUp(at);
    } else if (down && edit && !wasEdit) {
        tracker_.editJoined();
    }
}

quint64 ModifierWatch::keyBit(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption:
        return rightOptionBit;
    case ModifierKey::rightCommand:
        return rightCommandBit;
    case ModifierKey::rightControl:
        return rightControlBit;
    case ModifierKey::fn:
        return functionFlag;
    }
    return 0;
}

} // namespace lumeno
