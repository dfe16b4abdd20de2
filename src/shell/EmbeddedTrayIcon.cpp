#include "shell/EmbeddedTrayIcon.h"

#include "platform/TrayWatch.h"
#include "shell/TrayNote.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumeno {

namespace {

// The size trays that do not say otherwise give an icon.
constexpr int iconSide = 22;

} // namespace

EmbeddedTrayIcon::EmbeddedTrayIcon(TrayWatch& trays, Scheduler& scheduler)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint),
      trays_(trays),
      note_(std::make_unique<TrayNote>(scheduler)) {
    connect(note_.get(), &TrayNote::clicked, this, &EmbeddedTrayIcon::messageClicked);
    // Qt's X11 backend knows a tray icon's window by this name (its window is called "<name>Window"): it
    // draws it in the tray's visual, so the panel shows through, and maps it only once the tray took it in,
    // so it never shows up at the corner of the screen.
    setObjectName(QStringLiteral("QSystemTrayIconSys"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_QuitOnClose, false);
    // Trays give a window the least size it asks for.
    setMinimumSize(iconSide, iconSide);
    resize(iconSide, iconSide);
}

EmbeddedTrayIcon::~EmbeddedTrayIcon() = default;

bool EmbeddedTrayIcon::dock() {
    // A tray that ended leaves the window where it was; one still running lets go of it when it is hidden.
    // The window is made anew each time: the X server maps the window of a tray that ended on the screen
    // again behind Qt's back, and Qt then never paints it in the next tray that takes it in.
    hide();
    destroy();
    createWinId();
    const bool asked = trays_.dock(*windowHandle());
    show();
    return asked;
}

void EmbeddedTrayIcon::withdraw() {
    hide();
}

void EmbeddedTrayIcon::setIcon(const QIcon& icon) {
    icon_ = icon;
    update();
}

void EmbeddedTrayIcon::showMessage(const QString& title, const QString& message) {
    note_->show(title, message, QRect(mapToGlobal(QPoint(0, 0)), size()));
}

void EmbeddedTrayIcon::hideMessage() {
    note_->dismiss();
}

void EmbeddedTrayIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    icon_.paint(&painter, rect());
}

void EmbeddedTrayIcon::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->globalPosition().toPoint());
}

} // namespace lumeno
