#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace lumeno {

// Asks the user where to save the memory export. The window uses a file dialog; tests answer directly.
class ExportLocationChooser {
public:
    virtual ~ExportLocationChooser() = default;
    // The chosen path, or none when the user cancelled.
    virtual std::optional<QString> choose(QWidget* parent, const QString& suggestedName) = 0;
};

} // namespace lumeno
