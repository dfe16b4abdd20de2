#include "shell/GuideSession.h"

namespace lumeno {

void GuideSession::assign(bool& field, bool value, void (GuideSession::*changed)()) {
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void GuideSession::setAsksName(bool asks) {
    assign(asksName_, asks, &GuideSession::asksNameChanged);
}

void GuideSession::setAsksSignIn(bool asks) {
    assign(asksSignIn_, asks, &GuideSession::asksSignInChanged);
}

void GuideSession::setAsksLanguage(bool asks) {
    assign(asksLanguage_, asks, &GuideSession::asksLanguageChanged);
}

void GuideSession::setIsWelcome(bool welcome) {
    assign(isWelcome_, welcome, &GuideSession::isWelcomeChanged);
}

void GuideSession::advanceGeneration() {
    ++generation_;
    emit generationChanged();
}

} // namespace lumeno
