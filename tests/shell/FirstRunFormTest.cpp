#include "GuideTestSupport.h"

#include "ui/SettingsSection.h"
#include "shell/CrossFade.h"
#include "shell/GuideSession.h"
#include "shell/OnboardingView.h"
#include "testsupport/QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <map>

namespace lumeno::testing {
namespace {

class FirstRunTest : public GuideFixture {
protected:
    GuideSession session;
    std::unique_ptr<AccountStore> account = makeAccount();
    std::unique_ptr<OnboardingView> view;
    int doneCount = 0;
    int prepareCount = 0;

    void ask(bool name, bool signIn, bool language, bool welcome = true) {
        session.setAsksName(name);
        session.setAsksSignIn(signIn);
        session.setAsksLanguage(language);
        session.setIsWelcome(welcome);
    }

    OnboardingView& open() {
        view = std::make_unique<OnboardingView>(session, FirstRunForm::Services{*account, settings, speech, animation});
        QObject::connect(view.get(), &OnboardingView::done, [this] { ++doneCount; });
        QObject::connect(view.get(), &OnboardingView::speechLanguageChosen, [this] { ++prepareCount; });
        view->resize(OnboardingView::width, view->fittingHeight());
        view->show();
        settle();
        return *view;
    }

    FirstRunForm& form() { return *view->form(); }
    template <typename T> T* child(const char* name) { return view->form()->findChild<T*>(name); }
    QPushButton* button() { return child<QPushButton>("continueButton"); }
    void type(const char* field, const QString& text) { child<QLineEdit>(field)->setText(text); }
    QString labelText(const char* name) { return child<QLabel>(name)->text(); }
    QWidget& signInSection() { return *child<QWidget>("signInSection"); }

    // Asking for the code (or for the address again) blends the sign-in section from how it looked into
    // how it looks now, over 0.2 s on an ease-in-out curve, with the new fields usable from the start.
    void expectSignInBlendsFrom(const QImage& before, const QString& midwayShot) {
        auto* fade = child<CrossFade>("signInFade");
        ASSERT_TRUE(fade && fade->isVisible());
        settle(); // the section takes its new size
        EXPECT_EQ(fade->geometry(), signInSection().geometry()) << "the cover follows the section";
        EXPECT_TRUE(fade->testAttribute(Qt::WA_TransparentForMouseEvents));
        EXPECT_EQ(fade->progress(), 0);
        scheduler.advance(FirstRunForm::codeSentFadeSeconds / 2);
        EXPECT_NEAR(fade->progress(), 0.5, 0.15) << "within a frame (1/60 s) of half-way";
        const QImage midway = fade->grab().toImage();
        EXPECT_GT(meanDifference(midway, before), 1.0);
        EXPECT_GT(meanDifference(midway, signInSection().grab().toImage()), 1.0);
        shoot(*view, midwayShot);
        scheduler.advance(FirstRunForm::codeSentFadeSeconds / 2 + FrameTicker::frameInterval);
        EXPECT_FALSE(fade->isVisible());
    }
};

TEST_F(FirstRunTest, TheWindowFitsWhatIsAskedWithoutClippingOrEmptySpace) {
    std::map<int, int> heights;
    for (int mask = 1; mask < 8; ++mask) {
        ask(mask & 1, mask & 2, mask & 4);
        open();
        heights[mask] = view->fittingHeight();
        EXPECT_LE(view->minimumSizeHint().height(), heights[mask]) << "asked " << mask;
        EXPECT_LE(view->minimumSizeHint().width(), OnboardingView::width) << "asked " << mask;
        // The last section ends just above the button row: no empty band for controls this desktop lacks.
        int lastSection = 0;
        for (auto* section : view->findChildren<SettingsSection*>())
            if (section->isVisibleTo(view.get()))
                lastSection = std::max(lastSection, section->geometry().bottom());
        EXPECT_LE(button()->geometry().top() - lastSection, 80) << "asked " << mask;
    }
    EXPECT_LT(heights[4], heights[5]) << "the name adds a section";
    EXPECT_LT(heights[4], heights[6]) << "so does the sign-in";
    EXPECT_LT(heights[6], heights[7]);
}

TEST_F(FirstRunTest, AskingForTheCodeFitsTheWindowTheGuideOpenedWith) {
    ask(true, true, false);
    open();
    const int opened = view->fittingHeight();
    type("nameField", "Ada Park");
    type("emailField", "ada@example.com");
    QTest::keyClick(child<QLineEdit>("emailField"), Qt::Key_Return);
    transport->respond(FakeHttpTransport::empty(204));
    settle();
    scheduler.advance(FirstRunForm::codeSentFadeSeconds + FrameTicker::frameInterval);
    ASSERT_TRUE(form().codeSent());
    EXPECT_LE(view->minimumSizeHint().height(), opened);
    shoot(*view, "first-run-code-sent-fits");
}

TEST_F(FirstRunTest, LanguageOnlyIsASignInTitledFormThatContinuesAndRemembersTheChoice) {
    ask(false, false, true, false);
    open();
    shoot(*view, "first-run-language-only");

    EXPECT_EQ(labelText("guideTitle"), "Sign In");
    EXPECT_EQ(labelText("guideSubtitle"), "Sign in to keep replying.");
    EXPECT_EQ(child<SettingsSection>("signInSection"), nullptr);
    EXPECT_EQ(child<SettingsSection>("nameSection"), nullptr);
    EXPECT_EQ(button()->text(), "Continue");
    ASSERT_TRUE(button()->isEnabled());
    EXPECT_FALSE(settings.hasChosenSpeechLanguage());

    // Return is the default action, also on the language menu: it continues like the button.
    QTest::keyClick(child<QComboBox>("languagePicker"), Qt::Key_Return);
    EXPECT_EQ(doneCount, 1);
    EXPECT_TRUE(settings.hasChosenSpeechLanguage());
    EXPECT_EQ(settings.speechLocaleID(), "en-US");
    EXPECT_TRUE(transport->requests().empty());
}

TEST_F(FirstRunTest, ABlankNameOrMissingAddressKeepsTheButtonDisabled) {
    ask(true, true, false);
    open();
    EXPECT_EQ(labelText("guideTitle"), "Welcome to Lumeno");
    EXPECT_EQ(button()->text(), "Email Me a Code");
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("nameField"));

    type("nameField", " \t ");
    type("emailField", "ada@example.com");
    EXPECT_FALSE(button()->isEnabled());
    type("nameField", "Ada");
    EXPECT_TRUE(button()->isEnabled());
    type("emailField", "   ");
    EXPECT_FALSE(button()->isEnabled());

    // Return in a field does nothing either while the form is locked.
    QTest::keyClick(child<QLineEdit>("emailField"), Qt::Key_Return);
    settle();
    EXPECT_TRUE(transport->requests().empty());
}

TEST_F(FirstRunTest, SignInByCodeThenFinishNamesTheAccountAndChoosesTheLanguage) {
    ask(true, true, true);
    open();
    type("nameField", "Ada Park");
    type("emailField", " Ada@Example.com ");

    QTest::keyClick(child<QLineEdit>("emailField"), Qt::Key_Return);
    EXPECT_EQ(button()->text(), "Sending…");
    settle();
    EXPECT_EQ(transport->waitingCount(), 1) << "one request for one Return";
    EXPECT_FALSE(button()->isEnabled());
    form().submit(); // a second Return while the request runs
    settle();
    ASSERT_EQ(transport->waitingCount(), 1);

    const QImage askingForAddress = signInSection().grab().toImage();
    transport->respond(FakeHttpTransport::empty(204));
    settle();
    EXPECT_TRUE(form().codeSent());
    expectSignInBlendsFrom(askingForAddress, "first-run-code-sent-midway");
    EXPECT_EQ(child<QLabel>("sentToLabel")->text(), "Ada@Example.com");
    EXPECT_TRUE(child<QLineEdit>("codeField")->isVisible());
    EXPECT_FALSE(child<QLineEdit>("emailField")->isVisible());
    EXPECT_EQ(child<SettingsSection>("signInSection")->footer(), "Check your email. The code works for 10 minutes.");
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("codeField"));
    EXPECT_EQ(button()->text(), "Continue");
    EXPECT_FALSE(button()->isEnabled()) << "no code typed yet";

    // Any text counts as a code: the form neither filters nor limits it.
    type("codeField", "12 ab-34 x");
    ASSERT_TRUE(button()->isEnabled());
    shoot(*view, "first-run-code-sent");
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(button()->text(), "Checking…");
    settle();
    EXPECT_EQ(doneCount, 0);

    transport->respond(FakeHttpTransport::json(200, signInAnswer()));
    settle();
    EXPECT_TRUE(account->isSignedIn());
    EXPECT_EQ(doneCount, 1);
    EXPECT_TRUE(settings.hasChosenSpeechLanguage());
    EXPECT_EQ(transport->requests().size(), 2u);
}

TEST_F(FirstRunTest, AFailedRequestShowsTheStoresMessageAndChangeStartsOver) {
    ask(false, true, false);
    open();
    type("emailField", "ada@example.com");
    transport->enqueue(FakeHttpTransport::empty(204));
    form().submit();
    settle();
    ASSERT_TRUE(form().codeSent());
    scheduler.advance(FirstRunForm::codeSentFadeSeconds + FrameTicker::frameInterval);
    ASSERT_FALSE(child<CrossFade>("signInFade")->isVisible()) << "the blend is over before the code is typed";

    type("codeField", "000000");
    transport->enqueue(FakeHttpTransport::json(
        400, R"({"error":{"code":"invalid_code","message":"That code is wrong or has expired."}})"));
    form().submit();
    settle();
    ASSERT_TRUE(form().problem().has_value());
    EXPECT_TRUE(child<QLabel>("problemLabel")->isVisible());
    EXPECT_EQ(child<QLabel>("problemLabel")->text(), *form().problem());
    EXPECT_TRUE(form().codeSent()) << "a failed check stays on the code";
    EXPECT_EQ(child<QLineEdit>("codeField")->text(), "000000") << "the typed code stays for correcting";
    EXPECT_EQ(doneCount, 0);
    shoot(*view, "first-run-wrong-code");

    const QImage askingForCode = signInSection().grab().toImage();
    QTest::mouseClick(child<QPushButton>("changeEmailButton"), Qt::LeftButton);
    EXPECT_FALSE(form().codeSent());
    expectSignInBlendsFrom(askingForCode, "first-run-change-address-midway");
    EXPECT_EQ(form().problem(), std::nullopt);
    EXPECT_FALSE(child<QLabel>("problemLabel")->isVisible());
    EXPECT_EQ(child<QLineEdit>("codeField")->text(), "");
    EXPECT_EQ(child<QLineEdit>("emailField")->text(), "ada@example.com");
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("emailField"));
    EXPECT_EQ(button()->text(), "Email Me a Code");
}

TEST_F(FirstRunTest, WithoutAServerTheStoresMessageIsShownUnchanged) {
    account = makeAccount(false);
    ask(false, true, false);
    open();
    type("emailField", "ada@example.com");
    form().submit();
    settle();
    EXPECT_EQ(form().problem(), "This build isn't connected to a Lumeno server.");
    EXPECT_FALSE(form().codeSent());
    EXPECT_EQ(button()->text(), "Email Me a Code");
}

TEST_F(FirstRunTest, SignedInAlreadyTheSignInSectionStaysButContinueFinishesAtOnce) {
    account = signedInAccount(QStringLiteral("Ada Park"));
    ask(true, true, false);
    open();
    EXPECT_NE(child<SettingsSection>("signInSection"), nullptr);
    EXPECT_EQ(child<QLineEdit>("nameField")->text(), "Ada Park");
    EXPECT_EQ(child<QLineEdit>("emailField")->text(), "ada@example.com");
    type("emailField", "");
    EXPECT_EQ(button()->text(), "Continue");
    ASSERT_TRUE(button()->isEnabled());

    type("nameField", "  Ada Lovelace ");
    form().submit();
    settle();
    EXPECT_EQ(doneCount, 1);
    EXPECT_EQ(account->session()->user.name, "Ada Lovelace");
    // Only the background rename reaches the server: no code was asked for.
    for (const HttpRequest& request : transport->requests())
        EXPECT_FALSE(request.url.path().contains("code")) << request.url.toString().toStdString();
}

TEST_F(FirstRunTest, AStoredLocaleNotOfferedFallsBackToEnglishAndIsWrittenAtOnce) {
    settings.setSpeechLocaleID(QStringLiteral("ja-JP"));
    ask(false, false, true);
    open();
    EXPECT_EQ(form().languageCode(), "en");
    EXPECT_EQ(settings.speechLocaleID(), "en-US");
    EXPECT_EQ(prepareCount, 1);
    EXPECT_FALSE(settings.hasChosenSpeechLanguage());

    auto* picker = child<QComboBox>("languagePicker");
    ASSERT_TRUE(picker->isVisible());
    QStringList offered;
    for (int i = 0; i < picker->count(); ++i)
        offered << picker->itemText(i);
    EXPECT_EQ(offered, (QStringList{"English", "German", "Slovenian"}));
    EXPECT_EQ(picker->currentText(), "English");
}

TEST_F(FirstRunTest, WithoutEnglishTheFirstOfferedLanguageIsPreselected) {
    speechEngine.setSupportedLocales({QStringLiteral("sl-SI"), QStringLiteral("de-DE")});
    settings.setSpeechLocaleID(QStringLiteral("ja-JP"));
    ask(false, false, true);
    open();
    EXPECT_EQ(form().languageCode(), "de"); // the shipped table's order, not the engine's
    EXPECT_EQ(settings.speechLocaleID(), "de-DE");
}

TEST_F(FirstRunTest, PickingALanguageWritesTheLocaleNowButChoosingItOnlyOnFinish) {
    settings.setSpeechLocaleID(QStringLiteral("de-AT"));
    ask(false, false, true);
    open();
    EXPECT_EQ(form().languageCode(), "de") << "the stored locale's language is kept";
    EXPECT_EQ(prepareCount, 1);

    auto* picker = child<QComboBox>("languagePicker");
    const int slovenian = picker->findText("Slovenian");
    picker->setCurrentIndex(slovenian);
    emit picker->activated(slovenian);
    EXPECT_EQ(settings.speechLocaleID(), "sl-SI");
    EXPECT_EQ(prepareCount, 2);
    EXPECT_FALSE(settings.hasChosenSpeechLanguage());

    form().submit();
    EXPECT_TRUE(settings.hasChosenSpeechLanguage());
    EXPECT_EQ(settings.speechLocaleID(), "sl-SI");
}

TEST_F(FirstRunTest, WithNoSpeechLanguageTheSpinnerStaysAndTheFormStaysLocked) {
    speechEngine.setSupportedLocales({});
    ask(false, false, true);
    open();
    EXPECT_TRUE(child<QWidget>("languageSpinner")->isVisible());
    EXPECT_FALSE(child<QComboBox>("languagePicker")->isVisible());
    EXPECT_TRUE(form().locked());
    EXPECT_FALSE(button()->isEnabled());
    EXPECT_EQ(prepareCount, 0);
}

TEST_F(FirstRunTest, ANewGenerationStartsTheFormOverWithTheTypedNameAndAddress) {
    ask(true, true, false);
    open();
    type("nameField", "Ada");
    type("emailField", "ada@example.com");
    transport->enqueue(FakeHttpTransport::empty(204));
    form().submit();
    settle();
    ASSERT_TRUE(form().codeSent());

    session.advanceGeneration();
    settle();
    EXPECT_FALSE(form().codeSent()) << "the code is asked for again";
    EXPECT_EQ(child<QLineEdit>("nameField")->text(), "Ada");
    EXPECT_EQ(child<QLineEdit>("emailField")->text(), "ada@example.com");
    EXPECT_TRUE(button()->isEnabled()) << "what was typed is enough to ask for a code again";
    EXPECT_EQ(view->findChildren<FirstRunForm*>().size(), 1);
    shoot(*view, "first-run-reopened-with-typed-fields");

    // A generation that no longer asks for the address keeps the name alone.
    ask(true, false, true);
    session.advanceGeneration();
    settle();
    EXPECT_EQ(child<QLineEdit>("nameField")->text(), "Ada");
    EXPECT_EQ(child<QLineEdit>("emailField"), nullptr);
}

} // namespace
} // namespace lumeno::testing
