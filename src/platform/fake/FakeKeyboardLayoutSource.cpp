#include "platform/fake/FakeKeyboardLayoutSource.h"

#include "platform/VirtualKeyCodes.h"

namespace lumeno {

std::optional<QString> FakeKeyboardLayoutSource::character(quint16 virtualKeyCode) const {
    const auto found = layout_.constFind(virtualKeyCode);
    if (found == layout_.constEnd())
        return std::nullopt;
    return found.value();
}

KeyboardLayoutSource::KeyRole FakeKeyboardLayoutSource::role(quint16 virtualKeyCode) const {
    return roles_.value(virtualKeyCode, KeyRole::ordinary);
}

void FakeKeyboardLayoutSource::setLayout(Layout layout, Roles roles) {
    layout_ = std::move(layout);
    roles_ = std::move(roles);
    emit changed();
}

FakeKeyboardLayoutSource::Layout FakeKeyboardLayoutSource::germanLayout() {
    Layout layout = usLayout();
    layout[VirtualKey::ansiY] = QStringLiteral("z");
    layout[VirtualKey::ansiZ] = QStringLiteral("y");
    return layout;
}

FakeKeyboardLayoutSource::Roles FakeKeyboardLayoutSource::germanRoles() {
    return {{VirtualKey::rightOption, KeyRole::characterShift}};
}

FakeKeyboardLayoutSource::Layout FakeKeyboardLayoutSource::usLayout() {
    using namespace VirtualKey;
    const std::pair<quint16, const char*> keys[] = {
        {ansiA, "a"},         {ansiB, "b"},     {ansiC, "c"},           {ansiD, "d"},
        {ansiE, "e"},         {ansiF, "f"},     {ansiG, "g"},           {ansiH, "h"},
        {ansiI, "i"},         {ansiJ, "j"},     {ansiK, "k"},           {ansiL, "l"},
        {ansiM, "m"},         {ansiN, "n"},     {ansiO, "o"},           {ansiP, "p"},
        {ansiQ, "q"},         {ansiR, "r"},     {ansiS, "s"},           {ansiT, "t"},
        {ansiU, "u"},         {ansiV, "v"},     {ansiW, "w"},           {ansiX, "x"},
        {ansiY, "y"},         {ansiZ, "z"},     {ansi0, "0"},           {ansi1, "1"},
        {ansi2, "2"},         {ansi3, "3"},     {ansi4, "4"},           {ansi5, "5"},
        {ansi6, "6"},         {ansi7, "7"},     {ansi8, "8"},           {ansi9, "9"},
        {ansiMinus, "-"},     {ansiEqual, "="}, {ansiLeftBracket, "["}, {ansiRightBracket, "]"},
        {ansiSemicolon, ";"}, {ansiQuote, "'"}, {ansiBackslash, "\\"},  {ansiComma, ","},
        {ansiPeriod, "."},    {ansiSlash, "/"}, {ansiGrave, "`"},       {isoSection, "<"},
    };
    Layout layout;
    for (const auto& [code, character] : keys)
        layout.insert(code, QString::fromLatin1(character));
    return layout;
}

} // namespace lumeno
