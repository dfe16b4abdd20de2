#include "account/SignedInPanel.h"

#include "account/AccountHeader.h"
#include "account/AccountStore.h"
#include "ui/ProblemLabel.h"
#include "ui/SettingsSection.h"
#include "account/TeamSection.h"
#include "ui/TextLabel.h"
#include "support/Text.h"

#include <QCoroTask>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace lumeno {

namespace {

QPushButton* button(const QString& title, const QString& objectName, QWidget* parent) {
    auto* push = new QPushButton(title, parent);
    push->setObjectName(objectName);
    return push;
}

// A row with an explanation on the left and its buttons on the right.
QWidget* explainedRow(const QString& explanation, std::initializer_list<QPushButton*> buttons,
                      QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* text = new TextLabel(explanation, row);
    text->setWordWrap(true);
    layout->addWidget(text, 1);
    for (QPushButton* push : buttons) {
        push->setParent(row);
        layout->addWidget(push, 0, Qt::AlignVCenter);
    }
    return row;
}

} // namespace

SignedInPanel::SignedInPanel(AccountStore& store, QWidget* parent) : QWidget(parent), store_(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);
    layout->addWidget(buildHeader());
    layout->addWidget(buildProfile());
    layout->addWidget(new TeamSection(store_, this));
    layout->addWidget(buildSession());
    connect(&store_, &AccountStore::sessionChanged, this, &SignedInPanel::showSession);
    showSession();
}

QWidget* SignedInPanel::buildHeader() {
    header_ = new AccountHeader(this);
    return header_;
}

QWidget* SignedInPanel::buildProfile() {
    auto* section = new SettingsSection(QStringLiteral("Profile"), this);
    auto* row = new QWidget(section);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    name_ = new QLineEdit(row);
    name_->setObjectName(QStringLiteral("renameField"));
    name_->setPlaceholderText(QStringLiteral("Your name"));
    saveName_ = button(QStringLiteral("Save"), QStringLiteral("saveNameButton"), row);
    layout->addWidget(name_, 1);
    layout->addWidget(saveName_);
    section->addRow(QStringLiteral("Name"), row);
    section->setFooter(QStringLiteral("Drafts sign with this name unless the Style tab sets another."));
    connect(name_, &QLineEdit::textChanged, this, &SignedInPanel::updateSaveName);
    connect(name_, &QLineEdit::returnPressed, this, &SignedInPanel::saveName);
    connect(saveName_, &QPushButton::clicked, this, &SignedInPanel::saveName);
    return section;
}

QWidget* SignedInPanel::buildSession() {
    auto* wrapper = new QWidget(this);
    auto* layout = new QVBoxLayout(wrapper);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* section = new SettingsSection(QStringLiteral("Session"), wrapper);

    auto* signOut = button(QStringLiteral("Sign Out"), QStringLiteral("signOutButton"), wrapper);
    connect(signOut, &QPushButton::clicked, this, &SignedInPanel::signOut);
    section->addRow(explainedRow(QStringLiteral("Signed in on this computer."), {signOut}, wrapper));

    auto* offer = button(QStringLiteral("Delete Account…"), QStringLiteral("deleteAccountButton"), wrapper);
    connect(offer, &QPushButton::clicked, this, [this] { setConfirmingDeletion(true); });
    deleteOffer_ = section->addRow(
        explainedRow(QStringLiteral("Removes your account from the Lumeno server."), {offer}, wrapper));

    auto* cancel = button(QStringLiteral("Cancel"), QStringLiteral("cancelDeleteButton"), wrapper);
    auto* confirm = button(QStringLiteral("Delete Account"), QStringLiteral("confirmDeleteButton"), wrapper);
    QPalette danger = confirm->palette();
    danger.setColor(QPalette::ButtonText, QColor(0xd7, 0x26, 0x1e));
    confirm->setPalette(danger);
    connect(cancel, &QPushButton::clicked, this, [this] { setConfirmingDeletion(false); });
    connect(confirm, &QPushButton::clicked, this, &SignedInPanel::deleteAccount);
    deleteConfirmation_ = section->addRow(explainedRow(
        QStringLiteral("Delete your account? This can't be undone."), {cancel, confirm}, wrapper));
    deleteConfirmation_->setObjectName(QStringLiteral("deleteConfirmation"));
    layout->addWidget(section);

    deleteProblem_ = new ProblemLabel(wrapper);
    deleteProblem_->setObjectName(QStringLiteral("deleteProblem"));
    layout->addWidget(deleteProblem_);
    setConfirmingDeletion(false);
    return wrapper;
}

void SignedInPanel::showSession() {
    const auto& session = store_.session();
    if (!session)
        return;
    const QString name = session->user.name;
    header_->setLines(name.isEmpty() ? session->user.email : name,
                      name.isEmpty() ? QString() : session->user.email);
    if (!name_->hasFocus() || Text::trimmed(name_->text()) == name)
        name_->setText(name);
    updateSaveName();
}

void SignedInPanel::updateSaveName() {
    const QString typed = Text::trimmed(name_->text());
    const auto& session = store_.session();
    saveName_->setEnabled(session && !typed.isEmpty() && typed != session->user.name);
}

void SignedInPanel::saveName() {
    if (saveName_->isEnabled())
        store_.rename(name_->text());
}

QCoro::Task<> SignedInPanel::signOut() {
    // Taken first: signing out takes this panel out of the window, and it goes once the click is over.
    const QPointer<QWidget> settingsWindow = window();
    QCoro::Task<std::optional<QString>> signingOut = store_.signOut();
    const std::optional<QString> problem = co_await signingOut;
    if (!problem)
        co_return;
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Couldn't sign out completely"),
                                QStringLiteral("Couldn't sign out completely"), QMessageBox::Ok, settingsWindow);
    box->setObjectName(QStringLiteral("signOutProblem"));
    box->setInformativeText(Qt::convertFromPlainText(*problem));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void SignedInPanel::setConfirmingDeletion(bool confirming) {
    deleteOffer_->setVisible(!confirming);
    deleteConfirmation_->setVisible(confirming);
    if (confirming)
        deleteProblem_->setProblem(std::nullopt);
}

void SignedInPanel::deleteAccount() {
    deleteConfirmation_->setEnabled(false);
    QCoro::connect(store_.deleteAccount(), this, [this](const std::optional<QString>& problem) {
        deleteConfirmation_->setEnabled(true);
        setConfirmingDeletion(false);
        deleteProblem_->setProblem(problem);
    });
}

} // namespace lumeno
