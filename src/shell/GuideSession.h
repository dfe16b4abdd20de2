#pragma once

#include <QObject>

namespace lumeno {

// What the first-run guide asks this time. The window manager sets the flags each time it shows the guide
// and bumps `generation`, which makes the open form start over (with the name and address typed so far).
class GuideSession : public QObject {
    Q_OBJECT
public:
    explicit GuideSession(QObject* parent = nullptr) : QObject(parent) {}

    bool asksName() const { return asksName_; }
    void setAsksName(bool asks);
    bool asksSignIn() const { return asksSignIn_; }
    void setAsksSignIn(bool asks);
    bool asksLanguage() const { return asksLanguage_; }
    void setAsksLanguage(bool asks);
    bool isWelcome() const { return isWelcome_; }
    void setIsWelcome(bool welcome);
    int generation() const { return generation_; }
    // Always tells observers: a new generation is a fresh form even when nothing else changed.
    void advanceGeneration();

signals:
    void asksNameChanged();
    void asksSignInChanged();
    void asksLanguageChanged();
    void isWelcomeChanged();
    void generationChanged();

private:
    void assign(bool& field, bool value, void (GuideSession::*changed)());

    bool asksName_ = true;
    bool asksSignIn_ = true;
    bool asksLanguage_ = true;
    bool isWelcome_ = true;
    int generation_ = 0;
};

} // namespace lumeno
