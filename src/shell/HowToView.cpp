#include "shell/HowToView.h"

#include "foundation/KeyboardLayout.h"
#include "platform/KeyNames.h"
#include "platform/KeyboardLayoutSource.h"
#include "foundation/SettingsStore.h"
#include "platform/ModifierState.h"
#include "shell/CrossFade.h"
#include "shell/HowToDemo.h"
#include "shell/HowToSession.h"
#include "shell/KeyRow.h"
#include "shell/OnboardingKeys.h"
#include "shell/PageDots.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QLabel* centredText(const QString& objectName, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

void tint(QLabel& label, const QPalette& from, Hierarchy level) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, hierarchicalColor(from, level));
    label.setPalette(palette);
}

} // namespace

HowToView::HowToView(HowToSession& session, Services services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), ticker_(services.animation) {
    setAutoFillBackground(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Everything on a page sits on one widget, so a page change can fade all of it at once.
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("howToPage"));
    page->setAutoFillBackground(true);
    outer->addWidget(page);
    pageFade_ = new CrossFade(*page, pageFadeSeconds, services_.animation);
    pageFade_->setObjectName(QStringLiteral("pageFade"));

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 40, 0, 20);
    layout->setSpacing(0);

    demo_ = new HowToDemo(page);
    demo_->setObjectName(QStringLiteral("howToDemo"));
    layout->addWidget(demo_, 0, Qt::AlignHCenter);
    layout->addSpacing(18);
    keyRow_ = new KeyRow(services_.layout, page);
    keyRow_->setObjectName(QStringLiteral("keyRow"));
    layout->addWidget(keyRow_, 0, Qt::AlignHCenter);
    layout->addSpacing(14);

    auto* text = new QVBoxLayout;
    text->setContentsMargins(28, 0, 28, 0);
    text->setSpacing(6);
    title_ = centredText(QStringLiteral("howToTitle"), TypeScale::font(17, QFont::DemiBold), page);
    lines_ = centredText(QStringLiteral("howToLines"), TypeScale::font(13), page);
    tintTexts();
    text->addWidget(title_);
    text->addWidget(lines_);
    layout->addLayout(text);
    layout->addStretch(1);
    layout->addSpacing(18);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(20, 0, 20, 0);
    dots_ = new PageDots(page);
    dots_->setObjectName(QStringLiteral("pageDots"));
    footer->addWidget(dots_, 0, Qt::AlignVCenter);
    footer->addStretch(1);
    button_ = new QPushButton(page);
    button_->setObjectName(QStringLiteral("nextButton"));
    button_->setDefault(true);
    button_->setMinimumSize(96, 32);
    footer->addWidget(button_, 0, Qt::AlignVCenter);
    layout->addLayout(footer);

    connect(button_, &QPushButton::clicked, this, &HowToView::next);
    connect(&session_, &HowToSession::pageChanged, this, [this] {
        pageFade_->begin();
        showPage();
    });
    connect(&session_, &HowToSession::pageStartChanged, this, &HowToView::tick);
    connect(&services_.settings, &SettingsStore::hotkeyChanged, this, &HowToView::showPage);
    connect(&services_.layout.source(), &KeyboardLayoutSource::changed, this, &HowToView::showPage);
    showPage();
}

HowToView::~HowToView() {
    stopWatchingKeys();
}

int HowToView::pageCount() const {
    return services_.settings.hotkey().editDisplayName(services_.layout) ? 2 : 1;
}

bool HowToView::isEditPage() const {
    return session_.page() == 1 && pageCount() == 2;
}

QString HowToView::replyKeyName() const {
    return services_.settings.hotkey().displayName(services_.layout);
}

QString HowToView::editKeyName() const {
    // A sentence reads better with "and" than with the shortcut's plus: "Hold Right Alt and Super".
    const Hotkey& hotkey = services_.settings.hotkey();
    if (const auto key = hotkey.modifierKey())
        return replyKeyName() + QStringLiteral(" and ") + KeyNames::modifier(editModifier(*key));
    return hotkey.editDisplayName(services_.layout).value_or(replyKeyName());
}

QStringList HowToView::lines(bool edit) const {
    if (edit)
        return {QStringLiteral("Hold ") + editKeyName() +
                QStringLiteral(" and say how to change the text that is already there.")};
    return {QStringLiteral("Hold ") + replyKeyName() +
                QStringLiteral(" in any text field and speak naturally, or say what the reply should say."),
            QStringLiteral("Let go. The draft lands in the field. You press Send.")};
}

void HowToView::next() {
    const int following = session_.page() + 1;
    if (following >= pageCount()) {
        emit done();
        return;
    }
    session_.setPage(following);
    session_.setPageStart(services_.animation.clock.now());
}

void HowToView::showPage() {
    const bool edit = isEditPage();
    demo_->setEdit(edit);
    keyRow_->setHotkey(services_.settings.hotkey(), edit);
    title_->setText(edit ? QStringLiteral("Edit") : QStringLiteral("Reply"));
    lines_->setText(lines(edit).join(QStringLiteral("\n")));
    dots_->setPages(2, session_.page());
    dots_->setVisible(pageCount() == 2);
    button_->setText(session_.page() + 1 < pageCount() ? QStringLiteral("Next") : QStringLiteral("Done"));
    tick();
}

void HowToView::tick() {
    const double elapsed = session_.pageStart().msecsTo(services_.animation.clock.now()) / 1000.0;
    demo_->setTime(elapsed);
    keyRow_->setTime(elapsed);
}

void HowToView::startWatchingKeys() {
    if (keyWatch_)
        return;
    keyWatch_ = services_.animation.scheduler.every(keyWatchInterval, [this] { watchKeys(); });
}

void HowToView::stopWatchingKeys() {
    if (keyWatch_)
        services_.animation.scheduler.cancel(*keyWatch_);
    keyWatch_.reset();
    held_.clear();
    keyRow_->setHeld(held_);
}

void HowToView::watchKeys() {
    const QSet<KeySpot> held = OnboardingKeys::pressedSpots(services_.modifiers.flags());
    if (held == held_)
        return;
    held_ = held;
    keyRow_->setHeld(held_);
}

void HowToView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startWatchingKeys();
    ticker_.start([this](double) {
        tick();
        return true;
    });
}

void HowToView::hideEvent(QHideEvent* event) {
    ticker_.stop();
    stopWatchingKeys();
    QWidget::hideEvent(event);
}

void HowToView::tintTexts() {
    tint(*title_, palette(), Hierarchy::primary);
    tint(*lines_, palette(), Hierarchy::secondary);
}

void HowToView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The texts' levels are derived from the panel's palette: a light or dark switch re-derives them.
    if (event->type() == QEvent::PaletteChange)
        tintTexts();
}

void HowToView::keyPressEvent(QKeyEvent* event) {
    // Return is the panel's default action, whichever control has the focus.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        button_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace lumeno
