#pragma once

#include "foundation/Hotkey.h"

#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace lumeno {

class KeyboardLayout;
class ProblemLabel;
class SettingsStore;
class ShortcutRecorder;
struct RecordedKey;

// Chooses the reply hot key: a right-hand modifier, fn, or a key combination taken by the recorder.
// `apply` saves and registers a hot key and returns why it could not (the previous one then stays); that
// text is shown until the next choice or recording. A single key that can't work here (`refusal` says
// why: the desktop never reports it, or the keyboard layout types with it) is offered disabled, its
// reason as its help text; when it is the current hot key, or the layout took the right Alt key for
// AltGr, the reason stands under the picker. Names and choices follow layout changes.
class HotkeyPicker : public QWidget {
    Q_OBJECT
public:
    using Apply = std::function<std::optional<QString>(const Hotkey&)>;
    using Refusal = std::function<std::optional<QString>(ModifierKey)>;

    HotkeyPicker(SettingsStore& settings, const KeyboardLayout& layout, Apply apply, Refusal refusal,
                 QWidget* parent = nullptr);

    bool isRecording() const;
    std::optional<QString> problem() const { return problem_; }

protected:
    // Switching tabs or closing the window ends a recording.
    void hideEvent(QHideEvent* event) override;

private:
    void choose(int index);
    void startRecording();
    void stopRecording();
    void record(const RecordedKey& key);
    void setProblem(std::optional<QString> problem);
    void showHotkey();
    void showChoices();
    std::optional<QString> keyNote() const;

    SettingsStore& settings_;
    const KeyboardLayout& layout_;
    Apply apply_;
    Refusal refusal_;
    ShortcutRecorder* recorder_;
    std::optional<QString> problem_;

    QComboBox* choice_;
    QWidget* shortcutRow_;
    QLabel* combination_;
    QPushButton* change_;
    QLabel* prompt_;
    ProblemLabel* problemLabel_;
    QLabel* keyNote_;
};

} // namespace lumeno
