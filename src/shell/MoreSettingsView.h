#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QPushButton;

namespace lumeno {

class SettingsStore;
class StyleStore;
class TextLabel;

// The More tab: the speech language, reading the conversation, pause, the debug window and its file, and
// resetting the learned style after a confirmation.
class MoreSettingsView : public QWidget {
    Q_OBJECT
public:
    MoreSettingsView(SettingsStore& settings, StyleStore& style, QWidget* parent = nullptr);

    // The name of the speech language as the tab shows it.
    static QString languageName(const SettingsStore& settings);

signals:
    // The debug-window switches do not write the settings themselves: turning them off also deletes what
    // was recorded, which is the window manager's business.
    void draftDetailsRequested();
    void showsDraftDetailsToggled(bool on);
    void savesDraftDetailsToggled(bool on);

private:
    QWidget* languageSection();
    QWidget* behaviourSection();
    QWidget* debugSection();
    QWidget* resetSection();
    void showSettings();
    void confirmReset();

    SettingsStore& settings_;
    StyleStore& style_;
    TextLabel* language_ = nullptr;
    QCheckBox* readsConversation_ = nullptr;
    QCheckBox* paused_ = nullptr;
    QCheckBox* showsDraftDetails_ = nullptr;
    QWidget* savesRow_ = nullptr;
    QCheckBox* savesDraftDetails_ = nullptr;
    QWidget* openRow_ = nullptr;
};

} // namespace lumeno
