#include "account/AccountSettingsView.h"

#include "account/AccountStore.h"
#include "account/SignInPanel.h"
#include "account/SignedInPanel.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace lumeno {

AccountSettingsView::AccountSettingsView(AccountStore& store, QWidget* parent)
    : QWidget(parent), store_(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(scroll_);
    connect(&store_, &AccountStore::isSignedInChanged, this, &AccountSettingsView::showState);
    showState();
}

void AccountSettingsView::showState() {
    // A fresh panel on every change, so nothing typed for one account lingers for the next.
    auto* page = new QWidget;
    page->setObjectName(store_.isSignedIn() ? QStringLiteral("signedInPage")
                                            : QStringLiteral("signedOutPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 20, 20, 20);
    if (store_.isSignedIn())
        layout->addWidget(new SignedInPanel(store_, page));
    else
        layout->addWidget(new SignInPanel(store_, page));
    layout->addStretch();
    // The old page may hold the button whose click changed the state: it goes once that click is over.
    if (QWidget* old = scroll_->takeWidget())
        old->deleteLater();
    scroll_->setWidget(page);
}

void AccountSettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (store_.isSignedIn())
        store_.refresh();
}

} // namespace lumeno
