#include "details/DraftDetailsWindow.h"

#include "details/WindowFrameAutosave.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace lumeno {

DraftDetailsWindow::DraftDetailsWindow(DraftDetailsView::Services services, DefaultsStore& defaults, QWidget* parent)
    : QWidget(parent, Qt::Window), view_(new DraftDetailsView(services, this)),
      frame_(new WindowFrameAutosave(*this, defaults, frameName)) {
    setObjectName(QStringLiteral("draftDetailsWindow"));
    setWindowTitle(QStringLiteral("Lumeno Debug"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumSize(minimumContentSize);
    resize(contentSize);
    if (!frame_->restore()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect centred(QPoint(), contentSize);
            centred.moveCenter(screen->availableGeometry().center());
            move(centred.topLeft());
        }
    }
}

void DraftDetailsWindow::front() {
    show();
    raise();
    activateWindow();
}

} // namespace lumeno
