#include "shell/RecordedKey.h"

#include "platform/KeyboardLayoutSource.h"
#include "platform/VirtualKeyCodes.h"

#include <QHash>
#include <QKeyEvent>

namespace lumeno {

namespace {

using namespace VirtualKey;

const QHash<int, quint16>& keysOnAnsiKeyboard() {
    static const QHash<int, quint16> keys = {
        {Qt::Key_A, ansiA}, {Qt::Key_B, ansiB}, {Qt::Key_C, ansiC}, {Qt::Key_D, ansiD}, {Qt::Key_E, ansiE},
        {Qt::Key_F, ansiF}, {Qt::Key_G, ansiG}, {Qt::Key_H, ansiH}, {Qt::Key_I, ansiI}, {Qt::Key_J, ansiJ},
        {Qt::Key_K, ansiK}, {Qt::Key_L, ansiL}, {Qt::Key_M, ansiM}, {Qt::Key_N, ansiN}, {Qt::Key_O, ansiO},
        {Qt::Key_P, ansiP}, {Qt::Key_Q, ansiQ}, {Qt::Key_R, ansiR}, {Qt::Key_S, ansiS}, {Qt::Key_T, ansiT},
        {Qt::Key_U, ansiU}, {Qt::Key_V, ansiV}, {Qt::Key_W, ansiW}, {Qt::Key_X, ansiX}, {Qt::Key_Y, ansiY},
        {Qt::Key_Z, ansiZ}, {Qt::Key_0, ansi0}, {Qt::Key_1, ansi1}, {Qt::Key_2, ansi2}, {Qt::Key_3, ansi3},
        {Qt::Key_4, ansi4}, {Qt::Key_5, ansi5}, {Qt::Key_6, ansi6}, {Qt::Key_7, ansi7}, {Qt::Key_8, ansi8},
        {Qt::Key_9, ansi9}, {Qt::Key_Equal, ansiEqual}, {Qt::Key_Minus, ansiMinus},
        {Qt::Key_BracketLeft, ansiLeftBracket}, {Qt::Key_BracketRight, ansiRightBracket},
        {Qt::Key_Apostrophe, ansiQuote}, {Qt::Key_Semicolon, ansiSemicolon}, {Qt::Key_Backslash, ansiBackslash},
        {Qt::Key_Comma, ansiComma}, {Qt::Key_Slash, ansiSlash}, {Qt::Key_Period, ansiPeriod},
        {Qt::Key_QuoteLeft, ansiGrave}, {Qt::Key_Return, returnKey}, {Qt::Key_Enter, keypadEnter},
        {Qt::Key_Tab, tab}, {Qt::Key_Space, space}, {Qt::Key_Backspace, deleteKey}, {Qt::Key_Escape, escape},
        {Qt::Key_Delete, forwardDelete}, {Qt::Key_Home, home}, {Qt::Key_End, end}, {Qt::Key_PageUp, pageUp},
        {Qt::Key_PageDown, pageDown}, {Qt::Key_Left, leftArrow}, {Qt::Key_Right, rightArrow},
        {Qt::Key_Up, upArrow}, {Qt::Key_Down, downArrow}, {Qt::Key_Help, help},
    };
    return keys;
}

std::optional<quint16> ansiKey(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F19)
        return functionKeys[qtKey - Qt::Key_F1];
    const auto found = keysOnAnsiKeyboard().constFind(qtKey);
    if (found == keysOnAnsiKeyboard().constEnd())
        return std::nullopt;
    return *found;
}

quint64 flags(Qt::KeyboardModifiers modifiers) {
    quint64 result = 0;
    if (modifiers & Qt::MetaModifier)
        result |= commandFlag;
    if (modifiers & Qt::AltModifier)
        result |= optionFlag;
    if (modifiers & Qt::ControlModifier)
        result |= controlFlag;
    if (modifiers & Qt::ShiftModifier)
        result |= shiftFlag;
    return result;
}

} // namespace

std::optional<RecordedKey> RecordedKey::from(const QKeyEvent& event, const KeyboardLayoutSource& keys) {
    std::optional<quint16> keyCode = keys.physicalKey(event.nativeScanCode());
    if (!keyCode)
        keyCode = ansiKey(event.key());
    if (!keyCode || modifierBits(*keyCode) != 0)
        return std::nullopt;
    return RecordedKey{*keyCode, flags(event.modifiers())};
}

} // namespace lumeno
