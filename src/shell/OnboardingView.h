#pragma once

#include "shell/FirstRunForm.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace lumeno {

class GuideSession;

// The content of the first-run guide window. It rebuilds its form from scratch whenever the guide session
// starts a new generation, so each showing of the guide begins with empty fields.
class OnboardingView : public QWidget {
    Q_OBJECT
public:
    OnboardingView(GuideSession& session, FirstRunForm::Services services, QWidget* parent = nullptr);

    // The window's content height for what the session asks (the window is 440 wide).
    static int height(const GuideSession& session);
    static constexpr int width = 440;

    std::function<void()> onDone = [] {};
    // Readies the speech model of the language the user just picked.
    std::function<void()> prepareSpeech = [] {};

    FirstRunForm* form() const { return form_; }

private:
    void rebuildForm();

    GuideSession& session_;
    FirstRunForm::Services services_;
    QPointer<FirstRunForm> form_;
};

} // namespace lumeno
