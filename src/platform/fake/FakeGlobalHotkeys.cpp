#include "platform/fake/FakeGlobalHotkeys.h"

#include "platform/VirtualKeyCodes.h"

namespace lumeno {

namespace {

using namespace VirtualKey;

constexpr quint64 genericModifiers = commandFlag | optionFlag | controlFlag | shiftFlag;

// The left-hand keys that hold a combination's generic modifiers, in Ctrl, Alt, Shift, Super order.
std::vector<quint16> modifierKeys(quint64 modifiers) {
    std::vector<quint16> keys;
    for (const auto& [flag, key] : {std::pair{controlFlag, control}, std::pair{optionFlag, option},
                                    std::pair{shiftFlag, shift}, std::pair{commandFlag, command}})
        if (modifiers & flag)
            keys.push_back(key);
    return keys;
}

} // namespace

FakeGlobalHotkeys::FakeGlobalHotkeys() : unreported_(functionFlag) {}

GlobalHotkeys::Registration FakeGlobalHotkeys::registerCombination(quint16 keyCode, quint64 modifiers,
                                                                   std::function<void(bool down, KeyTime time)> changed) {
    const Combination combination{keyCode, modifiers & genericModifiers};
    if (const auto refusal = refusals_.find(combination); refusal != refusals_.end())
        return refusal->second;
    for (const auto& [id, registered] : registered_)
        if (registered.combination == combination)
            return Refusal::taken;
    const RegistrationId id = nextId_++;
    registered_.emplace(id, Registered{combination, std::move(changed)});
    return id;
}

void FakeGlobalHotkeys::unregister(RegistrationId id) {
    registered_.erase(id);
}

bool FakeGlobalHotkeys::watch(KeyWatch watch) {
    if (!watchAvailable_)
        return false;
    watch_ = std::move(watch);
    return true;
}

void FakeGlobalHotkeys::unwatch() {
    watch_.reset();
}

void FakeGlobalHotkeys::maskHeldModifiers() {
    masked_.push_back(modifiers());
}

bool FakeGlobalHotkeys::reportsModifier(quint64 bit) const {
    return !(unreported_ & bit);
}

void FakeGlobalHotkeys::press(quint16 keyCode) {
    if (held_.contains(keyCode))
        return;
    const quint64 before = modifiers();
    held_.insert(keyCode);
    if (modifierBits(keyCode)) {
        announceModifiers(before);
        return;
    }
    const quint64 modifiersNow = modifiers();
    // Copies: a handler may unregister or stop watching while it runs.
    if (const auto id = registrationFor(keyCode)) {
        takenKeys_[keyCode] = *id;
        const auto changed = registered_.at(*id).changed;
        changed(true, time_);
    } else {
        typed_.push_back({keyCode, modifiersNow});
    }
    if (watch_) {
        const auto keyDown = watch_->keyDown;
        keyDown(keyCode, modifiersNow);
    }
}

void FakeGlobalHotkeys::release(quint16 keyCode) {
    if (!held_.contains(keyCode))
        return;
    const quint64 before = modifiers();
    held_.erase(keyCode);
    if (modifierBits(keyCode)) {
        announceModifiers(before);
        return;
    }
    const auto taken = takenKeys_.find(keyCode);
    if (taken == takenKeys_.end())
        return;
    const RegistrationId id = taken->second;
    takenKeys_.erase(taken);
    if (const auto registered = registered_.find(id); registered != registered_.end()) {
        const auto changed = registered->second.changed;
        changed(false, time_);
    }
}

void FakeGlobalHotkeys::tap(quint16 keyCode) {
    press(keyCode);
    release(keyCode);
}

void FakeGlobalHotkeys::pressCombination(quint16 keyCode, quint64 modifiers) {
    for (const quint16 key : modifierKeys(modifiers))
        press(key);
    press(keyCode);
}

void FakeGlobalHotkeys::releaseCombination(quint16 keyCode, quint64 modifiers) {
    release(keyCode);
    for (const quint16 key : modifierKeys(modifiers))
        release(key);
}

quint64 FakeGlobalHotkeys::modifiers() const {
    quint64 word = 0;
    for (const quint16 key : held_)
        word |= modifierBits(key);
    return word & ~unreported_;
}

void FakeGlobalHotkeys::refuse(Combination combination, Refusal refusal) {
    refusals_[combination] = refusal;
}

void FakeGlobalHotkeys::setWatchAvailable(bool available) {
    watchAvailable_ = available;
}

void FakeGlobalHotkeys::setReportsModifier(quint64 bit, bool reported) {
    unreported_ = reported ? unreported_ & ~bit : unreported_ | bit;
}

std::vector<FakeGlobalHotkeys::Combination> FakeGlobalHotkeys::registeredCombinations() const {
    std::vector<Combination> combinations;
    for (const auto& [id, registered] : registered_)
        combinations.push_back(registered.combination);
    return combinations;
}

void FakeGlobalHotkeys::announceModifiers(quint64 before) {
    const quint64 now = modifiers();
    if (watch_ && now != before) {
        const auto modifiersChanged = watch_->modifiersChanged;
        modifiersChanged(now, time_);
    }
}

std::optional<GlobalHotkeys::RegistrationId> FakeGlobalHotkeys::registrationFor(quint16 keyCode) const {
    const Combination pressed{keyCode, modifiers() & genericModifiers};
    for (const auto& [id, registered] : registered_)
        if (registered.combination == pressed)
            return id;
    return std::nullopt;
}

} // namespace lumeno
