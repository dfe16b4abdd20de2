#include "memory/ui/MemoryWindow.h"

#include "memory/ui/FileDialogExportChooser.h"
#include "memory/ui/MemoryView.h"
#include "ui/WindowFrameAutosave.h"
#include "ui/WindowFront.h"

#include <QVBoxLayout>

namespace lumeno {

MemoryWindow::MemoryWindow(MemoryStore& memory, DefaultsStore& defaults, const ScreenInfo& screens,
                           Scheduler& scheduler, std::unique_ptr<ExportLocationChooser> exportChooser)
    : QWidget(nullptr, Qt::Window)
    , exportChooser_(exportChooser ? std::move(exportChooser) : std::make_unique<FileDialogExportChooser>())
    , view_(new MemoryView(memory, *exportChooser_, scheduler, this))
    , frame_(new WindowFrameAutosave(*this, frameKey, defaults, screens, scheduler)) {
    setObjectName(QStringLiteral("memoryWindow"));
    setWindowTitle(QStringLiteral("Lumeno Memory"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint);
    // Closing only hides: the window and its state are reused.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMinimumSize(minimumContentSize);
    resize(contentSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

MemoryWindow::~MemoryWindow() = default;

void MemoryWindow::present() {
    if (!placed_) {
        placed_ = true;
        frame_->place();
    }
    bringToFront(*this);
}

} // namespace lumeno
