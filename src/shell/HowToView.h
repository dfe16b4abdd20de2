#pragma once

#include "shell/KeySpot.h"
#include "ui/FrameTicker.h"

#include <QSet>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace lumeno {

class CrossFade;
class HowToDemo;
class HowToSession;
class KeyRow;
class KeyboardLayout;
class ModifierState;
class PageDots;
class SettingsStore;

// The how-to panel: how to reply (hold the hot key and speak) and, when the hot key has an edit shortcut,
// how to edit. Each page shows the demonstration, the keys to hold (pushed down with the demonstration
// and whenever the user really holds them), the instructions with the user's own key names, and Next/Done.
class HowToView : public QWidget {
    Q_OBJECT
public:
    struct Services {
        SettingsStore& settings;
        const KeyboardLayout& layout;
        const ModifierState& modifiers;
        AnimationClock animation;
    };

    static constexpr int width = 400;
    static constexpr int height = 486;
    // How often the held keys are looked at.
    static constexpr double keyWatchInterval = 1.0 / 30.0;
    // A new page fades in over the old one.
    static constexpr double pageFadeSeconds = 0.25;

    HowToView(HowToSession& session, Services services, QWidget* parent = nullptr);
    ~HowToView() override;

    int pageCount() const;
    bool isEditPage() const;
    QStringList lines(bool edit) const;
    void next();

    void startWatchingKeys();
    void stopWatchingKeys();
    const QSet<KeySpot>& held() const { return held_; }

signals:
    // Done on the last page.
    void done();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString replyKeyName() const;
    QString editKeyName() const;
    void showPage();
    void tintTexts();
    void watchKeys();
    void tick();

    HowToSession& session_;
    Services services_;
    FrameTicker ticker_;
    std::optional<quint64> keyWatch_;
    QSet<KeySpot> held_;

    CrossFade* pageFade_;
    HowToDemo* demo_;
    KeyRow* keyRow_;
    QLabel* title_;
    QLabel* lines_;
    PageDots* dots_;
    QPushButton* button_;
};

} // namespace lumeno
