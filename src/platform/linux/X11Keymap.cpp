#include "platform/linux/X11Keymap.h"

#include "platform/linux/XcbConnection.h"

#include <algorithm>

namespace lumeno {

X11Keymap::X11Keymap(xcb_keycode_t minKeyCode, int symbolsPerKey, std::vector<xcb_keysym_t> symbols,
                     std::array<std::vector<xcb_keycode_t>, 8> modifierKeys)
    : minKeyCode_(minKeyCode), symbolsPerKey_(std::max(symbolsPerKey, 1)), symbols_(std::move(symbols)),
      modifierKeys_(std::move(modifierKeys)) {}

std::optional<X11Keymap> X11Keymap::read(XcbConnection& connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection.get());
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_connection_t* c = connection.get();
    const auto keyboard = connection.reply(xcb_get_keyboard_mapping_reply, xcb_get_keyboard_mapping(c, first, count));
    const auto modifiers = connection.reply(xcb_get_modifier_mapping_reply, xcb_get_modifier_mapping(c));
    if (!keyboard || !modifiers)
        return std::nullopt;

    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    std::vector<xcb_keysym_t> table(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(keyboard.get()));
    std::array<std::vector<xcb_keycode_t>, 8> modifierKeys;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    for (int bit = 0; bit < 8; ++bit)
        for (int slot = 0; slot < perModifier; ++slot)
            if (const xcb_keycode_t key = keys[bit * perModifier + slot]; key != 0)
                modifierKeys[bit].push_back(key);
    return X11Keymap(first, keyboard->keysyms_per_keycode, std::move(table), std::move(modifierKeys));
}

std::vector<xcb_keycode_t> X11Keymap::heldKeys(XcbConnection& connection) {
    std::vector<xcb_keycode_t> held;
    const auto keymap = connection.reply(xcb_query_keymap_reply, xcb_query_keymap(connection.get()));
    if (!keymap)
        return held;
    for (int key = 0; key < 256; ++key)
        if (keymap->keys[key / 8] & (1u << (key % 8)))
            held.push_back(xcb_keycode_t(key));
    return held;
}

std::optional<xcb_keycode_t> X11Keymap::keyCodeOf(xcb_keysym_t symbol) const {
    const int keys = int(symbols_.size()) / symbolsPerKey_;
    for (int column = 0; column < symbolsPerKey_; ++column)
        for (int key = 0; key < keys; ++key)
            if (symbols_[key * symbolsPerKey_ + column] == symbol)
                return xcb_keycode_t(minKeyCode_ + key);
    return std::nullopt;
}

xcb_keysym_t X11Keymap::symbol(xcb_keycode_t keyCode, int column) const {
    const std::span<const xcb_keysym_t> symbols = symbolsOf(keyCode);
    return column >= 0 && size_t(column) < symbols.size() ? symbols[size_t(column)] : 0;
}

bool X11Keymap::hasKey(xcb_keycode_t keyCode) const {
    const std::span<const xcb_keysym_t> symbols = symbolsOf(keyCode);
    return std::any_of(symbols.begin(), symbols.end(), [](xcb_keysym_t symbol) { return symbol != 0; });
}

uint16_t X11Keymap::modifierMaskOf(xcb_keysym_t symbol) const {
    uint16_t mask = 0;
    for (int bit = 0; bit < 8; ++bit)
        for (const xcb_keycode_t key : modifierKeys_[bit])
            if (std::ranges::find(symbolsOf(key), symbol) != symbolsOf(key).end())
                mask |= uint16_t(1u << bit);
    return mask;
}

std::span<const xcb_keysym_t> X11Keymap::symbolsOf(xcb_keycode_t keyCode) const {
    const int key = keyCode - minKeyCode_;
    if (key < 0 || (key + 1) * symbolsPerKey_ > int(symbols_.size()))
        return {};
    return std::span(symbols_).subspan(size_t(key * symbolsPerKey_), size_t(symbolsPerKey_));
}

std::optional<xcb_keycode_t> X11Keymap::unusedKeyCode() const {
    const std::vector<xcb_keycode_t> modifiers = modifierKeyCodes();
    const int keys = int(symbols_.size()) / symbolsPerKey_;
    for (int key = keys - 1; key >= 0; --key) {
        const auto keyCode = xcb_keycode_t(minKeyCode_ + key);
        if (!hasKey(keyCode) && std::ranges::find(modifiers, keyCode) == modifiers.end())
            return keyCode;
    }
    return std::nullopt;
}

std::vector<xcb_keycode_t> X11Keymap::modifierKeyCodes() const {
    std::vector<xcb_keycode_t> keys;
    for (const auto& row : modifierKeys_)
        keys.insert(keys.end(), row.begin(), row.end());
    return keys;
}

} // namespace lumeno
