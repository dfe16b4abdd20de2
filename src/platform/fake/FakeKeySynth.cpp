#include "platform/fake/FakeKeySynth.h"

#include "platform/AXNames.h"

#include <tuple>

namespace lumeno {

namespace {

QString pastedText(const QString& text, FakeDesktop::PasteHandling handling) {
    if (handling != FakeDesktop::PasteHandling::dropsLineBreaks)
        return text;
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

bool FakeKeySynth::post(Key key) {
    return desktop_.withState([&](FakeDesktop::State& state) {
        if (state.keysFail)
            return false;
        state.posted.push_back(key);
        FakeDesktop::Node* node = state.focused ? state.node(*state.focused) : nullptr;
        if (!node || !node->element.editable)
            return true; // the key went to something that isn't a text field: nothing happens
        FakeDesktop::Element& field = node->element;
        switch (key) {
        case Key::paste:
            if (!state.clipboard || !state.clipboard->plainText ||
                field.pasteHandling == FakeDesktop::PasteHandling::ignores)
                break;
            if (field.pasteHandling == FakeDesktop::PasteHandling::splitsParagraphs)
                state.pasteParagraphs(*state.focused, *state.clipboard->plainText);
            else
                state.replaceSelection(*node, pastedText(*state.clipboard->plainText, field.pasteHandling));
            break;
        case Key::selectAll:
            field.selection = {0, field.value.value_or(QString()).size()};
            break;
        case Key::undo:
            if (!node->undo.empty()) {
                std::tie(field.value, field.selection) = node->undo.back();
                node->undo.pop_back();
            }
            break;
        case Key::returnKey:
            if (field.role == AXRole::textArea) {
                state.replaceSelection(*node, QStringLiteral("\n"));
            } else {
                state.sent.push_back({*state.focused, field.value.value_or(QString())});
                field.value = QString();
                field.selection = {};
            }
            break;
        }
        return true;
    });
}

} // namespace lumeno
