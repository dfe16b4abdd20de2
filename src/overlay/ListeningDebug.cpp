#include "overlay/ListeningDebug.h"

#include "overlay/ListeningDebugView.h"
#include "overlay/OverlayLayout.h"
#include "overlay/OverlayPanel.h"

namespace lumeno {

namespace {

constexpr qreal cornerRadius = 12;

} // namespace

ListeningDebug::ListeningDebug(ScreenInfo& screens, PanelWindowHints& hints, QObject* parent)
    : QObject(parent), screens_(screens), hints_(hints) {}

ListeningDebug::~ListeningDebug() = default;

void ListeningDebug::show(const QString& person, const QString& thread, const QString& other) {
    model_.setPerson(person);
    model_.setThread(thread);
    model_.setOther(other);
    OverlayPanel& panel = ensurePanel();
    layout(panel);
    panel.present();
}

void ListeningDebug::hide() {
    if (panel_)
        panel_->hide();
}

bool ListeningDebug::isVisible() const {
    return panel_ && panel_->isVisible();
}

OverlayPanel& ListeningDebug::ensurePanel() {
    if (!panel_) {
        panel_ = std::make_unique<OverlayPanel>(new ListeningDebugView(model_), OverlayPanel::Sheet::window, hints_);
        panel_->setObjectName(QStringLiteral("listeningDebugPanel"));
    }
    return *panel_;
}

void ListeningDebug::layout(OverlayPanel& panel) {
    const OverlayLayout::WorkArea area = OverlayLayout::workArea(screens_);
    panel.place(area.toWindow(OverlayLayout::debugPanel(area.visible)), cornerRadius);
}

} // namespace lumeno
