#pragma once

#include "platform/GlobalHotkeys.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace lumeno {

// A keyboard the test plays. Keys go down and up; a key pressed with exactly the modifiers of a registered
// combination is taken from the focused application and reported to its registration; every other key
// reaches the focused application (typedKeys). The passive watch sees every key, taken ones included, the
// way a desktop's raw key stream does. Like the X server, it never reports fn unless the test says so.
class FakeGlobalHotkeys final : public GlobalHotkeys {
public:
    struct Combination {
        quint16 keyCode = 0;
        quint64 modifiers = 0; // generic flags only
        bool operator==(const Combination&) const = default;
        auto operator<=>(const Combination&) const = default;
    };
    struct TypedKey {
        quint16 keyCode = 0;
        quint64 modifiers = 0; // the full modifier word when the key went down
        bool operator==(const TypedKey&) const = default;
    };

    FakeGlobalHotkeys();

    Registration registerCombination(quint16 keyCode, quint64 modifiers,
                                     std::function<void(bool down, KeyTime time)> changed) override;
    void unregister(RegistrationId id) override;
    bool watch(KeyWatch watch) override;
    void unwatch() override;
    bool reportsModifier(quint64 bit) const override;
    void maskHeldModifiers() override;

    // Playing the keyboard. Pressing a key that is already down does nothing (auto-repeat is not reported);
    // so does releasing one that is up.
    void press(quint16 keyCode);
    void release(quint16 keyCode);
    void tap(quint16 keyCode);
    // The left-hand keys of the generic modifiers (Ctrl, Alt, Shift, Super in that order), then the key; and back.
    void pressCombination(quint16 keyCode, quint64 modifiers);
    void releaseCombination(quint16 keyCode, quint64 modifiers);

    // The modifier word of the keys held now, as the desktop reports it.
    quint64 modifiers() const;

    // Scripting the desktop.
    // The desktop's clock: the key events that follow carry this time. Until set, they carry none, like a
    // desktop that does not say. Apart from the program's clock, it shows events read later than they happened.
    void setTime(quint32 milliseconds) { time_ = milliseconds; }
    void refuse(Combination combination, Refusal refusal); // registering it will fail
    void setWatchAvailable(bool available);                // takes effect at the next watch()
    void setReportsModifier(quint64 bit, bool reported);

    // What the test looks at.
    std::vector<Combination> registeredCombinations() const;
    bool isWatching() const { return watch_.has_value(); }
    const std::vector<TypedKey>& typedKeys() const { return typed_; }
    // The modifier words the application in front saw masked by a key that types nothing, in order.
    const std::vector<quint64>& maskedModifiers() const { return masked_; }

private:
    struct Registered {
        Combination combination;
        std::function<void(bool, KeyTime)> changed;
    };

    // Tells the watch about the new modifier word when a modifier key changed it.
    void announceModifiers(quint64 before);
    std::optional<RegistrationId> registrationFor(quint16 keyCode) const;

    std::set<quint16> held_;
    std::map<RegistrationId, Registered> registered_;
    std::map<quint16, RegistrationId> takenKeys_; // held keys whose press went to a registration
    std::map<Combination, Refusal> refusals_;
    RegistrationId nextId_ = 1;
    std::optional<KeyWatch> watch_;
    bool watchAvailable_ = true;
    std::vector<quint64> masked_;
    quint64 unreported_;
    KeyTime time_;
    std::vector<TypedKey> typed_;
};

} // namespace lumeno
