#include "memory/ui/MemoryWindow.h"

#include "memory/ui/FileDialogExportChooser.h"
#include "memory/ui/MemoryView.h"
#include "platform/DefaultsStore.h"
#include "platform/ScreenInfo.h"
#include "support/Scheduler.h"

#include <QJsonObject>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr double frameSaveDelay = 0.5;

std::optional<QRect> frameFrom(const std::optional<QJsonValue>& value) {
    if (!value || !value->isObject())
        return std::nullopt;
    const QJsonObject frame = value->toObject();
    for (const char* key : {"x", "y", "width", "height"})
        if (!frame.value(QLatin1String(key)).isDouble())
            return std::nullopt;
    return QRect(frame.value(QLatin1String("x")).toInt(), frame.value(QLatin1String("y")).toInt(),
                 frame.value(QLatin1String("width")).toInt(), frame.value(QLatin1String("height")).toInt());
}

} // namespace

MemoryWindow::MemoryWindow(MemoryStore& memory, DefaultsStore& defaults, const ScreenInfo& screens,
                           Scheduler& scheduler, std::unique_ptr<ExportLocationChooser> exportChooser)
    : QWidget(nullptr, Qt::Window)
    , defaults_(defaults)
    , screens_(screens)
    , scheduler_(scheduler)
    , exportChooser_(exportChooser ? std::move(exportChooser) : std::make_unique<FileDialogExportChooser>())
    , view_(new MemoryView(memory, *exportChooser_, this)) {
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

MemoryWindow::~MemoryWindow() {
    if (pendingSave_)
        scheduler_.cancel(*pendingSave_);
}

void MemoryWindow::present() {
    if (!placed_)
        placeInitially();
    showNormal();
    raise();
    activateWindow();
}

void MemoryWindow::placeInitially() {
    placed_ = true;
    const std::optional<ScreenInfo::Screen> main = screens_.mainScreen();
    if (std::optional<QRect> saved = frameFrom(defaults_.get(frameKey))) {
        saved->setSize(saved->size().expandedTo(minimumContentSize));
        // A frame saved on a screen that is no longer attached would put the window out of reach.
        for (const ScreenInfo::Screen& screen : screens_.screens()) {
            if (screen.visibleFrame.intersects(*saved)) {
                setGeometry(*saved);
                return;
            }
        }
    }
    QRect centred(QPoint(), contentSize);
    if (main)
        centred.moveCenter(main->visibleFrame.center());
    setGeometry(centred);
}

void MemoryWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    saveFrameSoon();
}

void MemoryWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    saveFrameSoon();
}

void MemoryWindow::closeEvent(QCloseEvent* event) {
    saveFrame();
    QWidget::closeEvent(event);
}

void MemoryWindow::saveFrameSoon() {
    if (!isVisible())
        return;
    if (pendingSave_)
        scheduler_.cancel(*pendingSave_);
    pendingSave_ = scheduler_.after(frameSaveDelay, [this] {
        pendingSave_.reset();
        saveFrame();
    });
}

void MemoryWindow::saveFrame() {
    if (!placed_)
        return;
    const QRect frame = geometry();
    defaults_.set(frameKey, QJsonObject{{QStringLiteral("x"), frame.x()},
                                        {QStringLiteral("y"), frame.y()},
                                        {QStringLiteral("width"), frame.width()},
                                        {QStringLiteral("height"), frame.height()}});
}

} // namespace lumeno
