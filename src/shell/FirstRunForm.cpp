#include "shell/FirstRunForm.h"

#include "account/AccountStore.h"
#include "ui/SentToRow.h"
#include "ui/SettingsSection.h"
#include "ui/TextLabel.h"
#include "foundation/SettingsStore.h"
#include "shell/AppIcon.h"
#include "shell/CrossFade.h"
#include "shell/GuideSession.h"
#include "support/Log.h"
#include "support/Text.h"
#include "ui/Spinner.h"
#include "voice/SpeechCapture.h"

#include <QComboBox>
#include <QCoroTask>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int iconSide = 64;
const QColor problemRed(0xe5, 0x3a, 0x35);

QLineEdit* textField(const QString& objectName, const QString& placeholder, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    edit->setFrame(false);
    return edit;
}

} // namespace

FirstRunForm::FirstRunForm(const GuideSession& session, Services services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 22, 24, 20);
    layout->setSpacing(14);
    buildHeader();
    if (session_.asksName())
        buildNameSection();
    if (session_.asksSignIn())
        buildSignInSection();
    if (session_.asksLanguage())
        buildLanguageSection();
    layout->addStretch(1);
    buildBottomRow();

    // Someone signed in already has a name and an address: start from them.
    if (const auto& stored = services_.account.session()) {
        if (name_)
            name_->setText(stored->user.name);
        if (email_)
            email_->setText(stored->user.email);
    }
    if (session_.asksName() && name_->text().isEmpty())
        focusField(Field::name);
    else if (session_.asksSignIn())
        focusField(Field::email);

    connect(&services_.account, &AccountStore::isSignedInChanged, this, &FirstRunForm::refresh);
    refresh();
}

void FirstRunForm::keepTyped(const FirstRunForm& earlier) {
    for (auto [mine, theirs] : {std::pair{name_, earlier.name_}, std::pair{email_, earlier.email_}})
        if (mine && theirs && !theirs->text().isEmpty())
            mine->setText(theirs->text());
}

void FirstRunForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (session_.asksLanguage() && !languagesRequested_) {
        languagesRequested_ = true;
        loadLanguages();
    }
}

void FirstRunForm::buildHeader() {
    auto* header = new QVBoxLayout;
    header->setSpacing(4);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("appIcon"));
    icon->setPixmap(AppIcon::icon().pixmap(QSize(iconSide, iconSide), devicePixelRatio()));
    icon->setFixedSize(iconSide, iconSide);
    header->addWidget(icon, 0, Qt::AlignHCenter);
    header->addSpacing(4);
    const bool welcome = session_.isWelcome();
    auto* title = new TextLabel(welcome ? QStringLiteral("Welcome to Lumeno") : QStringLiteral("Sign In"), this,
                                Hierarchy::primary, TypeScale::font(17, QFont::DemiBold));
    title->setObjectName(QStringLiteral("guideTitle"));
    title->setAlignment(Qt::AlignHCenter);
    header->addWidget(title);
    auto* subtitle = new TextLabel(welcome ? QStringLiteral("Reply to anything by voice.")
                                           : QStringLiteral("Sign in to keep replying."),
                                   this, Hierarchy::secondary, TypeScale::font(13));
    subtitle->setObjectName(QStringLiteral("guideSubtitle"));
    subtitle->setAlignment(Qt::AlignHCenter);
    header->addWidget(subtitle);
    static_cast<QVBoxLayout*>(layout())->addLayout(header);
}

void FirstRunForm::buildNameSection() {
    auto* section = new SettingsSection({}, this);
    section->setObjectName(QStringLiteral("nameSection"));
    name_ = textField(QStringLiteral("nameField"), QStringLiteral("Your name"), section);
    section->addRow(QStringLiteral("Name"), name_);
    layout()->addWidget(section);
    connect(name_, &QLineEdit::textChanged, this, &FirstRunForm::refresh);
}

void FirstRunForm::buildSignInSection() {
    signIn_ = new SettingsSection({}, this);
    signIn_->setObjectName(QStringLiteral("signInSection"));
    email_ = textField(QStringLiteral("emailField"), QStringLiteral("you@example.com"), signIn_);
    emailRow_ = signIn_->addRow(QStringLiteral("Email"), email_);

    sentTo_ = new SentToRow(signIn_);
    sentToRow_ = signIn_->addRow(QStringLiteral("Email"), sentTo_);

    code_ = textField(QStringLiteral("codeField"), QStringLiteral("6 digits"), signIn_);
    codeRow_ = signIn_->addRow(QStringLiteral("Code"), code_);
    layout()->addWidget(signIn_);
    signInFade_ = new CrossFade(*signIn_, codeSentFadeSeconds, services_.animation);
    signInFade_->setObjectName(QStringLiteral("signInFade"));

    for (QLineEdit* edit : {email_, code_}) {
        connect(edit, &QLineEdit::textChanged, this, &FirstRunForm::refresh);
    }
    connect(sentTo_, &SentToRow::changeRequested, this, &FirstRunForm::changeEmail);
}

void FirstRunForm::buildLanguageSection() {
    auto* section = new SettingsSection({}, this);
    section->setObjectName(QStringLiteral("languageSection"));
    auto* spinner = new Spinner(services_.animation, 14, section);
    spinner->setObjectName(QStringLiteral("languageSpinner"));
    auto* loading = new QWidget(section);
    auto* loadingLayout = new QHBoxLayout(loading);
    loadingLayout->setContentsMargins(0, 0, 0, 0);
    loadingLayout->addWidget(spinner);
    loadingLayout->addStretch();
    languageLoadingRow_ = section->addRow(QStringLiteral("Language"), loading);

    languagePicker_ = new QComboBox(section);
    languagePicker_->setObjectName(QStringLiteral("languagePicker"));
    languagePickerRow_ = section->addRow(QStringLiteral("Language"), languagePicker_);
    languagePickerRow_->hide();
    section->setFooter(QStringLiteral("Speech stays on this computer."));
    layout()->addWidget(section);
    connect(languagePicker_, &QComboBox::activated, this,
            [this](int index) { setLanguageCode(languagePicker_->itemData(index).toString()); });
}

void FirstRunForm::buildBottomRow() {
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    problemLabel_ = new TextLabel({}, this, Hierarchy::primary, TypeScale::font(12));
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    problemLabel_->setWordWrap(true);
    QPalette red = problemLabel_->palette();
    red.setColor(QPalette::WindowText, problemRed);
    problemLabel_->setPalette(red);
    // Two lines at most: a long server message must not push the button off the window.
    problemLabel_->setMaximumHeight(2 * problemLabel_->fontMetrics().lineSpacing() + 2);
    row->addWidget(problemLabel_, 1, Qt::AlignVCenter);
    button_ = new QPushButton(this);
    button_->setObjectName(QStringLiteral("continueButton"));
    button_->setDefault(true);
    button_->setMinimumSize(120, 32);
    row->addWidget(button_, 0, Qt::AlignVCenter | Qt::AlignRight);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(button_, &QPushButton::clicked, this, &FirstRunForm::submit);
}

int FirstRunForm::fittingHeight(int width) const {
    int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                               : layout()->totalSizeHint().height();
    if (signIn_ && !codeSent_)
        height += sentToRow_->sizeHint().height() + signIn_->layout()->spacing() + codeRow_->sizeHint().height()
                  - emailRow_->sizeHint().height();
    return height;
}

QString FirstRunForm::buttonTitle() const {
    if (sendingCode_)
        return codeSent_ ? QStringLiteral("Checking…") : QStringLiteral("Sending…");
    if (session_.asksSignIn() && !services_.account.isSignedIn() && !codeSent_)
        return QStringLiteral("Email Me a Code");
    return QStringLiteral("Continue");
}

bool FirstRunForm::locked() const {
    if (session_.asksName() && Text::trimmed(name_->text()).isEmpty())
        return true;
    if (session_.asksLanguage() && languageCode_.isEmpty())
        return true;
    if (session_.asksSignIn() && !services_.account.isSignedIn()) {
        const QString& required = codeSent_ ? code_->text() : email_->text();
        return Text::trimmed(required).isEmpty();
    }
    return false;
}

void FirstRunForm::refresh() {
    if (signIn_) {
        emailRow_->setVisible(!codeSent_);
        sentToRow_->setVisible(codeSent_);
        codeRow_->setVisible(codeSent_);
        sentTo_->setAddress(Text::trimmed(email_->text()));
        signIn_->setFooter(codeSent_ ? QStringLiteral("Check your email. The code works for 10 minutes.")
                                     : QStringLiteral("We’ll email you a 6-digit code."));
    }
    if (languagePicker_) {
        languageLoadingRow_->setVisible(languageChoices_.empty());
        languagePickerRow_->setVisible(!languageChoices_.empty());
    }
    problemLabel_->setText(problem_.value_or(QString()));
    problemLabel_->setVisible(problem_.has_value());
    button_->setText(buttonTitle());
    button_->setEnabled(!locked() && !sendingCode_);
}

void FirstRunForm::focusField(Field field) {
    QLineEdit* edit = field == Field::name ? name_ : field == Field::email ? email_ : code_;
    if (edit)
        edit->setFocus();
}

void FirstRunForm::keyPressEvent(QKeyEvent* event) {
    // Text fields pass Return on to here; a disabled button ignores the click.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        button_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FirstRunForm::submit() {
    if (locked() || sendingCode_)
        return;
    if (!session_.asksSignIn() || services_.account.isSignedIn()) {
        finish();
        return;
    }
    const bool confirming = codeSent_;
    sendingCode_ = true;
    problem_.reset();
    refresh();
    auto request = confirming ? services_.account.confirmCode(code_->text())
                              : services_.account.requestCode(name_ ? name_->text() : QString(), email_->text());
    QCoro::connect(std::move(request), this, [this, confirming](const std::optional<QString>& problem) {
        requestFinished(problem, confirming);
    });
}

void FirstRunForm::requestFinished(const std::optional<QString>& problem, bool wasConfirming) {
    sendingCode_ = false;
    if (problem) {
        problem_ = problem;
    } else if (!wasConfirming) {
        setCodeSent(true);
        focusField(Field::code);
        Log::app.info(QStringLiteral("A sign-in code was sent; its field has the focus"));
    } else {
        finish();
        return;
    }
    refresh();
}

void FirstRunForm::changeEmail() {
    // The store forgets the address too, so the Account tab does not wait for a code to it either.
    services_.account.cancelCode();
    code_->clear();
    problem_.reset();
    setCodeSent(false);
    focusField(Field::email);
}

void FirstRunForm::setCodeSent(bool sent) {
    if (sent != codeSent_) {
        // The address field gives way to the address sent to and the code field: blended, not swapped.
        signInFade_->begin();
        codeSent_ = sent;
    }
    refresh();
}

void FirstRunForm::finish() {
    problem_.reset();
    refresh();
    if (session_.asksName())
        services_.account.rename(name_->text());
    if (session_.asksLanguage() && !languageCode_.isEmpty()) {
        services_.settings.setSpeechLocaleID(SpeechCapture::preferredIdentifier(languageCode_));
        services_.settings.setHasChosenSpeechLanguage(true);
    }
    emit done();
}

void FirstRunForm::setLanguageCode(const QString& code) {
    if (code == languageCode_)
        return;
    languageCode_ = code;
    if (languagePicker_)
        languagePicker_->setCurrentIndex(languagePicker_->findData(code));
    refresh();
    if (code.isEmpty() || !session_.asksLanguage())
        return;
    services_.settings.setSpeechLocaleID(SpeechCapture::preferredIdentifier(code));
    emit speechLanguageChosen();
}

QString FirstRunForm::preselectedLanguage(const std::vector<ReplyLanguage>& choices, const QString& kept,
                                          const QString& speechLocaleID) {
    const auto offered = [&](const QString& code) {
        return std::any_of(choices.begin(), choices.end(),
                           [&](const ReplyLanguage& language) { return language.code == code; });
    };
    if (!kept.isEmpty() && offered(kept))
        return kept;
    const QString current = ReplyLanguage::codeMatching(speechLocaleID).value_or(QStringLiteral("en"));
    if (offered(current))
        return current;
    if (offered(QStringLiteral("en")))
        return QStringLiteral("en");
    return choices.empty() ? QString() : choices.front().code;
}

void FirstRunForm::loadLanguages() {
    QCoro::connect(services_.speech.supportedLocales(), this, [this](const std::vector<SpeechLocale>& locales) {
        std::vector<ReplyLanguage> choices;
        for (const ReplyLanguage& language : ReplyLanguage::shipped()) {
            if (SpeechCapture::locale(language.code, locales))
                choices.push_back(language);
        }
        showLanguages(choices);
    });
}

void FirstRunForm::showLanguages(const std::vector<ReplyLanguage>& choices) {
    languageChoices_ = choices;
    languagePicker_->clear();
    for (const ReplyLanguage& language : choices)
        languagePicker_->addItem(language.name, language.code);
    languagePicker_->setCurrentIndex(languagePicker_->findData(languageCode_));
    setLanguageCode(preselectedLanguage(choices, languageCode_, services_.settings.speechLocaleID()));
    refresh();
}

} // namespace lumeno
