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

    static constexpr int width = 440;
    // The window's content height for what the session asks: what its form needs on this desktop.
    int fittingHeight() const { return form_->fittingHeight(width); }
    // Gives the window that size; it keeps it as the form's controls settle (a language list arriving).
    void fitWindow();

    FirstRunForm* form() const { return form_; }

signals:
    // The form of the current generation is finished.
    void done();
    void speechLanguageChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildForm();

    GuideSession& session_;
    FirstRunForm::Services services_;
    QPointer<FirstRunForm> form_;
};

} // namespace lumeno
