#include "account/SignInPanel.h"

#include "account/AccountHeader.h"
#include "account/AccountStore.h"
#include "ui/ProblemLabel.h"
#include "ui/SentToRow.h"
#include "ui/SettingsSection.h"
#include "support/Text.h"

#include <QCoroTask>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumeno {

namespace {

QLineEdit* field(const QString& objectName, const QString& placeholder, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    return edit;
}

} // namespace

SignInPanel::SignInPanel(AccountStore& store, QWidget* parent) : QWidget(parent), store_(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* header = new AccountHeader(this);
    header->setLines(QStringLiteral("Not signed in"),
                     QStringLiteral("Lumeno drafts your replies through your Lumeno account."));
    layout->addWidget(header);
    layout->addSpacing(10);

    section_ = new SettingsSection(QStringLiteral("Sign In"), this);
    name_ = field(QStringLiteral("nameField"), QStringLiteral("Your name"), this);
    email_ = field(QStringLiteral("emailField"), QStringLiteral("you@example.com"), this);
    code_ = field(QStringLiteral("codeField"), QStringLiteral("6 digits"), this);
    nameRow_ = section_->addRow(QStringLiteral("Name"), name_);
    emailRow_ = section_->addRow(QStringLiteral("Email"), email_);

    sentTo_ = new SentToRow(this);
    sentToRow_ = section_->addRow(QStringLiteral("Email"), sentTo_);
    codeRow_ = section_->addRow(QStringLiteral("Code"), code_);
    layout->addWidget(section_);

    auto* bottom = new QHBoxLayout;
    problem_ = new ProblemLabel(this);
    problem_->setObjectName(QStringLiteral("signInProblem"));
    bottom->addWidget(problem_, 1, Qt::AlignTop);
    bottom->addStretch();
    submit_ = new QPushButton(this);
    submit_->setObjectName(QStringLiteral("signInButton"));
    submit_->setDefault(true);
    bottom->addWidget(submit_, 0, Qt::AlignTop);
    layout->addLayout(bottom);

    for (QLineEdit* edit : {name_, email_, code_}) {
        connect(edit, &QLineEdit::textChanged, this, &SignInPanel::updateState);
        connect(edit, &QLineEdit::returnPressed, this, &SignInPanel::submit);
    }
    connect(submit_, &QPushButton::clicked, this, &SignInPanel::submit);
    connect(sentTo_, &SentToRow::changeRequested, this, &SignInPanel::changeEmail);
    connect(&store_, &AccountStore::pendingEmailChanged, this, &SignInPanel::updateState);

    if (!store_.hasServer())
        problem_->setProblem(AccountStore::noServerMessage());
    updateState();
}

bool SignInPanel::codeSent() const {
    return store_.pendingEmail().has_value();
}

void SignInPanel::updateState() {
    const bool sent = codeSent();
    nameRow_->setVisible(!sent);
    emailRow_->setVisible(!sent);
    sentToRow_->setVisible(sent);
    codeRow_->setVisible(sent);
    sentTo_->setAddress(store_.pendingEmail().value_or(QString()));
    section_->setFooter(sent ? QStringLiteral("Check your email. The code works for 10 minutes.")
                             : QStringLiteral("We’ll email you a 6-digit code."));

    if (sending_)
        submit_->setText(sent ? QStringLiteral("Checking…") : QStringLiteral("Sending…"));
    else
        submit_->setText(sent ? QStringLiteral("Sign In") : QStringLiteral("Email Me a Code"));
    const QString& required = sent ? code_->text() : email_->text();
    const bool ready = store_.hasServer() && !sending_ && !Text::trimmed(required).isEmpty();
    submit_->setEnabled(ready);
    for (QLineEdit* edit : {name_, email_, code_})
        edit->setEnabled(store_.hasServer() && !sending_);
}

void SignInPanel::submit() {
    if (!submit_->isEnabled())
        return;
    sending_ = true;
    problem_->setProblem(std::nullopt);
    updateState();
    auto request =
        codeSent() ? store_.confirmCode(code_->text()) : store_.requestCode(name_->text(), email_->text());
    QCoro::connect(std::move(request), this,
                   [this](const std::optional<QString>& problem) { finishRequest(problem); });
}

void SignInPanel::finishRequest(const std::optional<QString>& problem) {
    sending_ = false;
    problem_->setProblem(problem);
    updateState();
    if (!problem && codeSent())
        code_->setFocus();
}

void SignInPanel::changeEmail() {
    store_.cancelCode();
    code_->clear();
    problem_->setProblem(std::nullopt);
    email_->setFocus();
}

} // namespace lumeno
