#include "details/DraftDetailsWindow.h"

#include "ui/WindowFrameAutosave.h"
#include "ui/WindowFront.h"

#include <QVBoxLayout>

namespace lumeno {

DraftDetailsWindow::DraftDetailsWindow(DraftDetailsView::Services services, DefaultsStore& defaults,
                                       const ScreenInfo& screens, Scheduler& scheduler, QWidget* parent)
    : QWidget(parent, Qt::Window), view_(new DraftDetailsView(services, this)),
      frame_(new WindowFrameAutosave(*this, frameKey, defaults, screens, scheduler)) {
    setObjectName(QStringLiteral("draftDetailsWindow"));
    setWindowTitle(QStringLiteral("Lumeno Debug"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumSize(minimumContentSize);
    resize(contentSize);
    frame_->place();
}

void DraftDetailsWindow::front() {
    bringToFront(*this);
}

} // namespace lumeno
