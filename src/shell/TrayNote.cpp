#include "shell/TrayNote.h"

#include "ui/TypeScale.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace lumeno {

namespace {

constexpr int noteWidth = 300;
constexpr int gap = 4;

} // namespace

TrayNote::TrayNote(Scheduler& scheduler)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      scheduler_(scheduler),
      title_(new QLabel(this)),
      message_(new QLabel(this)) {
    setObjectName(QStringLiteral("trayNote"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::PointingHandCursor);
    QFont bold = TypeScale::font(13);
    bold.setBold(true);
    title_->setFont(bold);
    message_->setFont(TypeScale::font(12));
    message_->setWordWrap(true);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    for (QLabel* label : {title_, message_}) {
        label->setTextFormat(Qt::PlainText);
        label->setPalette(colours);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(4);
    layout->addWidget(title_);
    layout->addWidget(message_);
    setFixedWidth(noteWidth);
}

TrayNote::~TrayNote() {
    if (hide_)
        scheduler_.cancel(*hide_);
}

void TrayNote::show(const QString& title, const QString& message, const QRect& icon) {
    title_->setText(title);
    message_->setText(message);
    setAccessibleName(title);
    setAccessibleDescription(message);
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(icon.center());
    const QRect area = screen ? screen->availableGeometry() : QRect(icon.topLeft(), size());
    // Under the icon, or above it when the tray is at the foot of the screen; always on the screen.
    QPoint where(icon.center().x() - width() / 2, icon.bottom() + gap);
    if (where.y() + height() > area.bottom())
        where.setY(icon.top() - gap - height());
    where.setX(std::clamp(where.x(), area.left(), std::max(area.left(), area.right() - width())));
    where.setY(std::clamp(where.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    move(where);
    QWidget::show();
    raise();
    if (hide_)
        scheduler_.cancel(*hide_);
    hide_ = scheduler_.after(shownSeconds, [this] {
        hide_.reset();
        hide();
    });
}

void TrayNote::dismiss() {
    if (hide_)
        scheduler_.cancel(*std::exchange(hide_, std::nullopt));
    hide();
}

void TrayNote::mousePressEvent(QMouseEvent* event) {
    event->accept();
    dismiss();
    emit clicked();
}

void TrayNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().toolTipBase());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace lumeno
