#include "shell/OnboardingView.h"

#include "shell/GuideSession.h"

#include <QEvent>
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

void OnboardingView::rebuildForm() {
    // A new generation starts the form over for what is asked now; only the name and address the user
    // typed are carried into it, so reopening the guide never makes them type those again.
    FirstRunForm* previous = form_;
    form_ = new FirstRunForm(session_, services_, this);
    if (previous) {
        form_->keepTyped(*previous);
        previous->hide();
        previous->deleteLater();
    }
    form_->setObjectName(QStringLiteral("firstRunForm"));
    connect(form_, &FirstRunForm::done, this, &OnboardingView::done);
    connect(form_, &FirstRunForm::speechLanguageChosen, this, &OnboardingView::speechLanguageChosen);
    form_->installEventFilter(this);
    layout()->addWidget(form_);
    fitWindow();
}

void OnboardingView::fitWindow() {
    if (!isWindow())
        return;
    const QSize size(width, fittingHeight());
    if (this->size() != size)
        setFixedSize(size);
}

bool OnboardingView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && event->type() == QEvent::LayoutRequest)
        fitWindow();
    return QWidget::eventFilter(watched, event);
}

} // namespace lumeno
