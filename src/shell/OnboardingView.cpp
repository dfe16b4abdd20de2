#include "shell/OnboardingView.h"

#include "shell/GuideSession.h"

#include <QVBoxLayout>

namespace lumeno {

OnboardingView::OnboardingView(GuideSession& session, FirstRunForm::Services services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    rebuildForm();
    connect(&session_, &GuideSession::generationChanged, this, &OnboardingView::rebuildForm);
}

int OnboardingView::height(const GuideSession& session) {
    return (session.asksName() ? 300 : 256) + (session.asksSignIn() ? 112 : 0) + (session.asksLanguage() ? 76 : 0);
}

void OnboardingView::rebuildForm() {
    // A new generation is a fresh start: nothing typed into the old form survives.
    if (form_) {
        form_->hide();
        form_->deleteLater();
    }
    form_ = new FirstRunForm(session_, services_, this);
    form_->setObjectName(QStringLiteral("firstRunForm"));
    form_->onDone = [this] { onDone(); };
    form_->prepareSpeech = [this] { prepareSpeech(); };
    layout()->addWidget(form_);
}

} // namespace lumeno
