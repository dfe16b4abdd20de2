#pragma once

#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakeModifierState.h"
#include "support/ManualScheduler.h"
#include "voice/HotkeyService.h"

#include <vector>

namespace lumeno::testing {

// A hot-key service on the fake keyboard with manual time, recording every event it sends.
struct HotkeyHarness {
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeGlobalHotkeys keyboard;
    FakeModifierState modifiers{keyboard};
    FakeAccessibilityTrust trust;
    FakeKeyboardLayoutSource layout;
    HotkeyService service{{keyboard, modifiers, trust, layout, scheduler, clock}};
    std::vector<HotkeyEvent> events;

    HotkeyHarness() {
        QObject::connect(&service, &HotkeyService::hotkeyEvent, [this](const HotkeyEvent& event) { events.push_back(event); });
    }

    // Holds a key for `seconds` of manual time, then lets it go.
    void hold(quint16 keyCode, double seconds) {
        keyboard.press(keyCode);
        scheduler.advance(seconds);
        keyboard.release(keyCode);
    }

    std::vector<HotkeyEvent> takeEvents() { return std::exchange(events, {}); }
};

} // namespace lumeno::testing
