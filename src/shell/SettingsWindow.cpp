#include "shell/SettingsWindow.h"

#include "ui/Hierarchy.h"
#include "ui/ScreenFit.h"
#include "ui/Ink.h"
#include "ui/Symbol.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QStyle>
#include <QStackedWidget>
#include <QStyleOptionToolButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int toolbarHeight = 56;

int indexOf(SettingsTab tab) {
    return int(std::find(allSettingsTabs.begin(), allSettingsTabs.end(), tab) - allSettingsTabs.begin());
}

// A toolbar tab: its symbol over its label, tinted with the accent and set on a soft plate when selected.
class TabButton : public QToolButton {
public:
    TabButton(const QString& symbol, const QString& label, QWidget* parent) : QToolButton(parent), symbol_(symbol) {
        setText(label);
        setCheckable(true);
        setAutoRaise(true);
        // Wide enough for the label in bold, as it is drawn when selected, with room on the plate.
        const int labelWidth = QFontMetrics(labelFont(true)).horizontalAdvance(label);
        setFixedSize(std::max(72, labelWidth + 2 * labelPadding), toolbarHeight - 8);
        setAccessibleName(label);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& colors = palette();
        if (isChecked() || underMouse()) {
            painter.setPen(Qt::NoPen);
            QColor plate = hierarchicalColor(colors, Hierarchy::quaternary);
            if (!isChecked())
                plate = scaledAlpha(plate, 0.5);
            painter.setBrush(plate);
            painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 7, 7);
        }
        const QColor ink = isChecked() ? Tint::accent(colors) : hierarchicalColor(colors, Hierarchy::secondary);
        Symbol::paint(painter, symbol_, QRectF((width() - 22) / 2.0, 5, 22, 22), ink);
        painter.setFont(labelFont(isChecked()));
        painter.setPen(isChecked() ? ink : hierarchicalColor(colors, Hierarchy::primary));
        painter.drawText(QRect(0, 29, width(), 16), Qt::AlignHCenter | Qt::AlignTop, text());
    }

private:
    static constexpr int labelPadding = 8; // from the label to the button's edge; the plate is inset 2
    static QFont labelFont(bool selected) { return TypeScale::font(11, selected ? QFont::DemiBold : QFont::Normal); }

    QString symbol_;
};

} // namespace

SettingsWindow::SettingsWindow(const PageFactory& page, const ScreenInfo& screens, QWidget* parent)
    : QWidget(parent), screens_(screens) {
    setObjectName(QStringLiteral("settingsWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolbar_ = new QWidget(this);
    toolbar_->setObjectName(QStringLiteral("settingsToolbar"));
    toolbar_->setFixedHeight(toolbarHeight);
    auto* tabs = new QHBoxLayout(toolbar_);
    tabs->setContentsMargins(8, 4, 8, 4);
    tabs->setSpacing(2);
    tabs->addStretch(1);
    buttons_ = new QButtonGroup(this);
    buttons_->setExclusive(true);
    pages_ = new QStackedWidget(this);
    for (SettingsTab tab : allSettingsTabs) {
        tabs->addWidget(tabButton(tab));
        QWidget* content = page(tab);
        content->setObjectName(content->objectName().isEmpty() ? rawValue(tab) + QStringLiteral("Page")
                                                               : content->objectName());
        contents_.push_back(content);
        pages_->addWidget(scrolling(content));
        if (fitsItsPage(tab))
            content->installEventFilter(this);
    }
    tabs->addStretch(1);
    layout->addWidget(toolbar_);
    auto* hairline = new QWidget(this);
    hairline->setFixedHeight(1);
    hairline->setAutoFillBackground(true);
    QPalette line = hairline->palette();
    line.setColor(QPalette::Window, hierarchicalColor(palette(), Hierarchy::quaternary));
    hairline->setPalette(line);
    layout->addWidget(hairline);
    layout->addWidget(pages_, 1);

    connect(buttons_, &QButtonGroup::idClicked, this, [this](int index) { select(allSettingsTabs[index]); });
    select(SettingsTab::general);
}

QToolButton* SettingsWindow::tabButton(SettingsTab tab) {
    auto* button = new TabButton(symbol(tab), title(tab), toolbar_);
    button->setObjectName(rawValue(tab) + QStringLiteral("Tab"));
    buttons_->addButton(button, indexOf(tab));
    return button;
}

QString SettingsWindow::title(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return QStringLiteral("General");
    case SettingsTab::account: return QStringLiteral("Account");
    case SettingsTab::more: return QStringLiteral("More");
    case SettingsTab::style: return QStringLiteral("Style");
    case SettingsTab::permissions: return QStringLiteral("Permissions");
    }
    Q_UNREACHABLE();
}

// The taskbar shows the title: it names the program first, then the tab.
QString SettingsWindow::windowTitleFor(SettingsTab tab) {
    return QStringLiteral("Lumeno Settings — ") + title(tab);
}

QString SettingsWindow::symbol(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return QStringLiteral("gearshape");
    case SettingsTab::account: return QStringLiteral("person.crop.circle");
    case SettingsTab::more: return QStringLiteral("ellipsis.circle");
    case SettingsTab::style: return QStringLiteral("textformat");
    case SettingsTab::permissions: return QStringLiteral("lock.shield");
    }
    Q_UNREACHABLE();
}

QSize SettingsWindow::contentSize(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general: return {520, 220};
    case SettingsTab::account: return {560, 640};
    case SettingsTab::more: return {520, 520};
    case SettingsTab::style: return {580, 560};
    case SettingsTab::permissions: return {520, 230};
    }
    Q_UNREACHABLE();
}

void SettingsWindow::select(SettingsTab tab) {
    current_ = tab;
    const int index = indexOf(tab);
    buttons_->button(index)->setChecked(true);
    pages_->setCurrentIndex(index);
    setWindowTitle(windowTitleFor(tab));
    fit();
}

bool SettingsWindow::fitsItsPage(SettingsTab tab) {
    return tab == SettingsTab::general || tab == SettingsTab::more;
}

void SettingsWindow::fit() {
    QSize area = contentSize(current_);
    QWidget* content = page(current_);
    if (fitsItsPage(current_)) {
        const int needed =
            content->hasHeightForWidth() ? content->heightForWidth(area.width()) : content->sizeHint().height();
        area.setHeight(std::min(area.height(), needed));
    }
    // The page keeps the tab's height; a screen too short for it cuts the window, and the page scrolls.
    content->setMinimumHeight(area.height());
    // The toolbar, and the menu bar while it shows, sit above the tab's own area.
    const int menuBarHeight = menuBar_ && menuBar_->isVisibleTo(this) ? menuBar_->sizeHint().height() : 0;
    QSize window = area + QSize(0, menuBarHeight + toolbarHeight + 1);
    const QSize room = ScreenFit::room(*this, screens_);
    const bool cut = !room.isEmpty() && window.height() > room.height();
    if (cut) {
        // The scroll bar goes beside the page, which keeps its width.
        window += QSize(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0);
        window.setHeight(room.height());
    }
    static_cast<QScrollArea*>(pages_->currentWidget())
        ->setVerticalScrollBarPolicy(cut ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setFixedSize(window);
    if (isVisible())
        ScreenFit::keepOnScreen(*this, screens_);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A tab chosen while the window was away may have made it taller than where it was left allows.
    ScreenFit::keepOnScreen(*this, screens_);
}

QScrollArea* SettingsWindow::scrolling(QWidget* content) {
    auto* scroller = new QScrollArea(pages_);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(content);
    // The page's own background shows, not the scroll area's.
    scroller->viewport()->setAutoFillBackground(false);
    return scroller;
}

void SettingsWindow::setMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    layout()->setMenuBar(bar);
    bar->installEventFilter(this);
    fit();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest && watched == page(current_))
        fit();
    if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) && watched == menuBar_)
        fit();
    return QWidget::eventFilter(watched, event);
}

QWidget* SettingsWindow::page(SettingsTab tab) const {
    return contents_[indexOf(tab)];
}

} // namespace lumeno
