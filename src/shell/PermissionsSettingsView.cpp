#include "shell/PermissionsSettingsView.h"

#include "ui/SettingsSection.h"
#include "shell/PermissionsSection.h"

#include <QVBoxLayout>

namespace lumeno {

PermissionsSettingsView::PermissionsSettingsView(PermissionsGate& permissions, Scheduler& scheduler,
                                                 QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("permissionsSettings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    auto* section = new SettingsSection({}, this);
    section->addRow(new PermissionsSection(permissions, scheduler, section));
    section->setFooter(QStringLiteral("Lumeno never sends a message. It reads the screen only while you hold the key."));
    layout->addWidget(section);
    layout->addStretch(1);
}

} // namespace lumeno
