#include "shell/GeneralSettingsView.h"

#include "ui/ProblemLabel.h"
#include "ui/SettingsSection.h"
#include "foundation/SettingsStore.h"

#include <QVBoxLayout>

namespace lumeno {

GeneralSettingsView::GeneralSettingsView(SettingsStore& settings, const KeyboardLayout& layout,
                                         HotkeyPicker::Apply onHotkeyChange, HotkeyPicker::Refusal keyRefusal,
                                         std::function<std::optional<QString>()> editHotkeyProblem,
                                         QWidget* parent)
    : QWidget(parent), editHotkeyProblem_(std::move(editHotkeyProblem)) {
    setObjectName(QStringLiteral("generalSettings"));
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(20, 20, 20, 20);
    auto* section = new SettingsSection({}, this);
    section->addRow(new HotkeyPicker(settings, layout, std::move(onHotkeyChange), std::move(keyRefusal), section));
    editProblem_ = new ProblemLabel(section);
    editProblem_->setObjectName(QStringLiteral("editHotkeyProblem"));
    section->addRow(editProblem_);
    layoutBox->addWidget(section);
    layoutBox->addStretch(1);

    // The edit combination is registered with the hot key, so its problem can change with it.
    connect(&settings, &SettingsStore::hotkeyChanged, this, &GeneralSettingsView::showEditProblem);
    showEditProblem();
}

void GeneralSettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showEditProblem();
}

void GeneralSettingsView::showEditProblem() {
    editProblem_->setProblem(editHotkeyProblem_());
}

} // namespace lumeno
