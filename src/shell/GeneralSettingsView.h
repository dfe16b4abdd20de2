#pragma once

#include "shell/HotkeyPicker.h"

#include <QWidget>

namespace lumeno {

class ProblemLabel;

// The General tab: the reply hot key, and a warning when its edit combination could not be registered.
class GeneralSettingsView : public QWidget {
    Q_OBJECT
public:
    GeneralSettingsView(SettingsStore& settings, const KeyboardLayout& layout, HotkeyPicker::Apply onHotkeyChange,
                        HotkeyPicker::Refusal keyRefusal, std::function<std::optional<QString>()> editHotkeyProblem,
                        QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showEditProblem();

    std::function<std::optional<QString>()> editHotkeyProblem_;
    ProblemLabel* editProblem_;
};

} // namespace lumeno
