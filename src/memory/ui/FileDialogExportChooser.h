#pragma once

#include "memory/ui/ExportLocationChooser.h"

namespace lumeno {

// A modal save dialog that offers JSON files only and may create folders.
class FileDialogExportChooser final : public ExportLocationChooser {
public:
    std::optional<QString> choose(QWidget* parent, const QString& suggestedName) override;
};

} // namespace lumeno
