#include "memory/ui/FileDialogExportChooser.h"

#include <QDir>
#include <QFileDialog>

namespace lumeno {

std::optional<QString> FileDialogExportChooser::choose(QWidget* parent, const QString& suggestedName) {
    QFileDialog dialog(parent, QStringLiteral("Export Memory"), QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("JSON (*.json)"));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace lumeno
