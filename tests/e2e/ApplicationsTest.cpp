// Dictating into the applications people answer mail in: a web mail page in Firefox, a reply in
// Thunderbird, a rich web editor in Chromium. The program reads each through the accessibility bus, sends
// the server what it read, and the field is read back afterwards.
#include "e2e/harness/E2eTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/linux/harness/ThunderbirdReply.h"
#include "platform/AXNames.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/XcbConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace lumeno::e2e {

namespace {

using desktop::AccessibleTargets;
using desktop::DesktopUser;

constexpr int applicationStartMs = 30000;

class Applications : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        if (IsSkipped())
            return;
        becomeReturningUser();
        accessibility = std::make_unique<AtspiAccessibility>(QCoreApplication::applicationPid(),
                                                             session().accessibility().accessibilityAddress());
    }

    void answerWith(const QString& text) {
        server.setDraftAnswer(200, QJsonDocument(QJsonObject{{"text", text}, {"provider", "anthropic"}, {"model", "m"}})
                                       .toJson(QJsonDocument::Compact));
    }

    // The application's focused element once it is a text area holding `text` (the page fills in a moment
    // after its focus arrives).
    std::optional<AccessibleElement> waitForField(qint64 pid, const std::optional<QString>& text = std::nullopt) {
        std::optional<AccessibleElement> field;
        waitUntil([&] {
            field = accessibility->focusedElement(pid);
            return field && accessibility->string(*field, AXAttribute::role) == AXRole::textArea &&
                   (!text || value(*field) == *text);
        }, applicationStartMs);
        return field;
    }
    QString value(const AccessibleElement& field) const {
        return accessibility->string(field, AXAttribute::value).value_or(QString());
    }

    // Holds the hot key, Right Alt (with Super for an edit), while the recording plays, as the user does
    // while speaking, then waits for the outcome of the insertion.
    void dictate(LumenoProcess& lumeno, bool edit = false) {
        const qsizetype seen = qsizetype(lumeno.lines().size());
        user.press(DesktopUser::rightAlt);
        if (edit)
            user.press(DesktopUser::leftSuper);
        const bool played = lumeno.waitForLineContaining(QStringLiteral("The audio file has played to its end"),
                                                         patienceMs, seen).has_value();
        if (edit)
            user.release(DesktopUser::leftSuper);
        user.release(DesktopUser::rightAlt);
        ASSERT_TRUE(played) << lumeno.log().toStdString();
        ASSERT_TRUE(lumeno.waitForLineContaining(QStringLiteral(" outcome: "), patienceMs, seen))
            << lumeno.log().toStdString();
    }

    // The prompt of the last drafting request: its system and user texts.
    QString lastRequest() const {
        const std::vector<testing::TestServer::Seen> drafts = server.drafts();
        if (drafts.empty())
            return {};
        const QJsonObject body = QJsonDocument::fromJson(drafts.back().body).object();
        return body.value(QLatin1String("system")).toString() + QLatin1Char('\n') + body.value(QLatin1String("user")).toString();
    }
    static bool logged(const LumenoProcess& lumeno, const QString& text) { return lumeno.log().contains(text); }

    QTemporaryDir profile;
    std::unique_ptr<AtspiAccessibility> accessibility;
};

TEST_F(Applications, AFirefoxWebMailReplyIsDraftedFromThePageToTheRightPersonAndPastedWithItsHtml) {
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    home.setSetting(QStringLiteral("savesDraftDetails"), true);
    answerWith(QStringLiteral("Friday works, Bo."));
    auto firefox = AccessibleTargets::firefox(profile.path(), AccessibleTargets::webMailPage(true));
    if (!firefox)
        GTEST_SKIP() << "Firefox ESR is not installed";
    const std::optional<AccessibleElement> field = waitForField(firefox->pid());
    ASSERT_TRUE(field) << "Firefox never showed the page on the accessibility bus";
    // Gecko fills in the page a moment after the focus: the reply box's label is among the last.
    ASSERT_TRUE(waitUntil([&] {
        return accessibility->string(*field, AXAttribute::title) == QStringLiteral("Message Bo Lind");
    }, applicationStartMs));
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Friday works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();

    dictate(*lumeno);
    // A mail gets the user's sign-off under the model's text.
    EXPECT_TRUE(waitUntil([&] { return value(*field).startsWith(QStringLiteral("Friday works, Bo.")); }))
        << value(*field).toStdString() << "\n" << lumeno->log().toStdString();
    // The overlay shows the outcome a moment after the field has the text.
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Insert outcome"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("firefox-webmail"));

    // The page was read (its address came from the document) and the reply answers Bo, who wrote last.
    EXPECT_TRUE(logged(*lumeno, QStringLiteral("role AXTextArea editable, surface email"))) << lumeno->log().toStdString();
    const QString request = lastRequest();
    EXPECT_TRUE(request.contains(QStringLiteral("Hi, can we move the review to Friday?"))) << request.toStdString();
    EXPECT_TRUE(request.contains(QStringLiteral("<recipient_name>\nBo Lind\n</recipient_name>"))) << request.toStdString();
    EXPECT_FALSE(request.contains(QStringLiteral("follow-up"))) << request.toStdString();
    EXPECT_FALSE(request.contains(QStringLiteral("Message Bo Lind"))) << "the reply box's label is nobody's message";
    EXPECT_FALSE(request.contains(QStringLiteral("<user_alias>\n"))) << request.toStdString();

    // A web mail page gets the HTML copy with the text.
    QFile record(home.supportFile(QStringLiteral("draft-details.jsonl")));
    ASSERT_TRUE(waitUntil([&] { return record.exists() && record.size() > 0; })) << lumeno->log().toStdString();
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_TRUE(record.readAll().contains("HTML copy")) << "no HTML copy went with the paste";

    // Bo is offered for Memory with his address, under his own name.
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Offered 1 memory saves"))) << lumeno->log().toStdString();
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Save Bo Lind as a person"))) << "no save offer for Bo Lind";
    QFile memory(home.supportFile(QStringLiteral("memory.json")));
    ASSERT_TRUE(waitUntil([&] { return memory.exists(); })) << lumeno->log().toStdString();
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
    EXPECT_TRUE(memory.readAll().contains("bo@example.com"));
}

TEST_F(Applications, AThunderbirdReplyIsDictatedAboveTheQuoteThenRewrittenWhole) {
    auto thunderbird = AccessibleTargets::thunderbird(profile.path());
    if (!thunderbird)
        GTEST_SKIP() << "Thunderbird is not installed";
    QString why;
    const std::optional<AccessibleElement> body = desktop::ThunderbirdReply::answer(*accessibility, thunderbird->pid(), why);
    ASSERT_TRUE(body) << why.toStdString();
    auto lumeno = launch(spoken(QStringLiteral("Say Friday works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();

    answerWith(QStringLiteral("Sure, Friday works for me."));
    dictate(*lumeno);
    ASSERT_TRUE(waitUntil([&] { return value(*body).startsWith(QStringLiteral("Sure, Friday works for me.")); }))
        << value(*body).toStdString() << "\n" << lumeno->log().toStdString();
    // Known as a mail client under its profile's window class; the quote was read with the reply.
    EXPECT_TRUE(logged(*lumeno, QStringLiteral("Target thunderbird-default role AXTextArea editable, surface email")))
        << lumeno->log().toStdString();
    EXPECT_TRUE(lastRequest().contains(QStringLiteral("I need the budget numbers first, and"))) << lastRequest().toStdString();
    // The model is told the application by the name its user knows.
    EXPECT_TRUE(lastRequest().contains(QStringLiteral("Where: Thunderbird, window "))) << lastRequest().toStdString();

    // The edit key rewrites the user's part, not the quote under it.
    answerWith(QStringLiteral("Friday is fine."));
    dictate(*lumeno, true);
    const QString request = lastRequest();
    EXPECT_TRUE(request.contains(QStringLiteral("<text_to_rewrite>\nSure, Friday works for me."))) << request.toStdString();
    EXPECT_FALSE(request.contains(QChar(0xFFFC)));
    EXPECT_TRUE(waitUntil([&] { return value(*body).startsWith(QStringLiteral("Friday is fine.")); }))
        << value(*body).toStdString() << "\n" << lumeno->log().toStdString();
    EXPECT_TRUE(value(*body).contains(QStringLiteral("Bo Lind wrote:\n\nHi Ada,"))) << value(*body).toStdString();
    EXPECT_FALSE(logged(*lumeno, QStringLiteral("Select the text it replaces"))) << lumeno->log().toStdString();
    // The overlay shows the outcome a moment after the field has the text.
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Edit outcome"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("thunderbird-rewritten"));
}

TEST_F(Applications, AWordSelectedInChromiumsRichEditorIsRewrittenFromItsOwnLetters) {
    auto chromium = AccessibleTargets::chromium(profile.path(), AccessibleTargets::webMailPage());
    if (!chromium)
        GTEST_SKIP() << "Chromium is not installed";
    const QString draft = QStringLiteral("Hi Bo,\nFriday suits me 🎉 fine.\nAda");
    const std::optional<AccessibleElement> editor = waitForField(chromium->pid(), draft);
    ASSERT_TRUE(editor) << "Chromium never showed the page on the accessibility bus";
    auto lumeno = launch(spoken(QStringLiteral("Make it Thursday")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    // The user double-clicks "Friday" in the second paragraph.
    ASSERT_TRUE(accessibility->setAttribute(*editor, AXAttribute::selectedTextRange, TextRange{7, 6}));
    ASSERT_TRUE(waitUntil([&] { return accessibility->string(*editor, AXAttribute::selectedText) == QStringLiteral("Friday"); }));

    answerWith(QStringLiteral("Thursday"));
    dictate(*lumeno, true);
    const QString request = lastRequest();
    EXPECT_TRUE(request.contains(QStringLiteral("<text_to_rewrite>\nFriday\n</text_to_rewrite>"))) << request.toStdString();
    EXPECT_FALSE(request.contains(QChar(0xFFFC))) << request.toStdString();
    EXPECT_TRUE(waitUntil([&] { return value(*editor) == QStringLiteral("Hi Bo,\nThursday suits me 🎉 fine.\nAda"); }))
        << value(*editor).toStdString() << "\n" << lumeno->log().toStdString();
    // The overlay shows the outcome a moment after the field has the text.
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Edit outcome"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("chromium-rich-edit"));
}

// LibreOffice Writer makes each paragraph an element of its own: a reply of several paragraphs splits the one
// with the caret, and is read back across the paragraphs it made, so the user is not offered it again.
TEST_F(Applications, AReplyOfSeveralParagraphsInLibreOfficeWriterIsConfirmedAndNotOfferedAgain) {
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    home.setSetting(QStringLiteral("savesDraftDetails"), true);
    const QString letter = profile.filePath(QStringLiteral("letter.txt"));
    QFile file(letter);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Dear Bo,\n\nYours,\nAda\n");
    file.close();
    auto writer = AccessibleTargets::libreOfficeWriter(profile.path(), letter);
    if (!writer) {
        if (qEnvironmentVariableIsSet("LUMENO_APPS_REQUIRED"))
            FAIL() << "LibreOffice Writer is not installed";
        GTEST_SKIP() << "LibreOffice Writer is not installed";
    }
    // Its window belongs to a child of the process started: the one in front.
    qint64 pid = 0;
    std::optional<AccessibleElement> paragraph;
    ASSERT_TRUE(waitUntil([&] {
        const std::optional<RunningApplication> front = X11FrontmostApplication(XcbConnection::open()).read();
        pid = front ? front->pid : 0;
        paragraph = pid ? accessibility->focusedElement(pid) : std::nullopt;
        return paragraph && value(*paragraph) == QStringLiteral("Dear Bo,");
    }, applicationStartMs)) << "LibreOffice never showed the letter on the accessibility bus";
    const std::optional<AccessibleElement> document = accessibility->parent(*paragraph);
    ASSERT_TRUE(document);
    // The user clicks into the empty line under the greeting.
    const std::vector<AccessibleElement> paragraphs = accessibility->children(*document);
    ASSERT_GE(paragraphs.size(), 3u);
    const AccessibleElement blank = paragraphs[1];
    ASSERT_TRUE(accessibility->setAttribute(blank, AXAttribute::selectedTextRange, TextRange{0, 0}));
    ASSERT_TRUE(waitUntil([&] { return accessibility->focusedElement(pid) == blank; }));
    const auto documentText = [&] {
        QStringList lines;
        for (const AccessibleElement& line : accessibility->children(*document))
            lines.append(value(line));
        return lines.join(QLatin1Char('\n'));
    };

    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Friday works and I will bring the plans")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    answerWith(QStringLiteral("Friday works for me.\n\nI'll bring the plans."));
    dictate(*lumeno);

    EXPECT_TRUE(waitUntil([&] {
        return documentText().startsWith(QStringLiteral("Dear Bo,\nFriday works for me.\n\nI'll bring the plans.\nYours,"));
    })) << documentText().toStdString() << "\n" << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Insert outcome: inserted(verified: true)")))
        << lumeno->log().toStdString();
    // The draft's record says so once the overlay shows it inserted, with no Insert to press again.
    const auto recordedOutcome = [&] {
        QFile record(home.supportFile(QStringLiteral("draft-details.jsonl")));
        if (!record.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray last = record.readAll().trimmed().split('\n').back();
        return QJsonDocument::fromJson(last).object().value(QLatin1String("outcome")).toString();
    };
    EXPECT_TRUE(waitUntil([&] { return recordedOutcome() == QStringLiteral("Inserted"); }))
        << recordedOutcome().toStdString() << "\n" << lumeno->log().toStdString();
    EXPECT_FALSE(logged(*lumeno, QStringLiteral("If the reply isn't in the field"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("libreoffice-writer-reply"));
}

// A message from Bo the user answers in a desktop editor; the file's name reads as mail, so the window
// counts as one and the conversation around the editor is read.
class EditorApplications : public Applications {
protected:
    // Right Alt held over the editor with the caret on the empty line under the message, the reply read back.
    void replyIn(const QString& program, const std::optional<AccessibleElement>& editor,
                 std::unique_ptr<LumenoProcess>& lumeno) {
        ASSERT_TRUE(editor) << program.toStdString() << " never showed its editor on the accessibility bus";
        ASSERT_TRUE(waitUntil([&] { return value(*editor).contains(QStringLiteral("move the review")); }, applicationStartMs));
        const QString written = value(*editor);
        ASSERT_TRUE(accessibility->setAttribute(*editor, AXAttribute::selectedTextRange, TextRange{written.size(), 0}));
        answerWith(QStringLiteral("Friday works, Bo."));
        lumeno = launch(spoken(QStringLiteral("Tell Bo Friday works")));
        ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
        dictate(*lumeno);
        // A mail gets the user's sign-off under the model's text.
        EXPECT_TRUE(waitUntil([&] { return value(*editor).startsWith(written + QStringLiteral("Friday works, Bo.\n")); }))
            << value(*editor).toStdString() << "\n" << lumeno->log().toStdString();
        EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Insert outcome"))) << lumeno->log().toStdString();
        EXPECT_FALSE(logged(*lumeno, QStringLiteral("needsTarget"))) << lumeno->log().toStdString();
    }
};

TEST_F(EditorApplications, AReplyDictatedInKWriteLandsInItsEditor) {
    auto kwrite = AccessibleTargets::editor(QStringLiteral("kwrite"), profile.path());
    if (!kwrite)
        GTEST_SKIP() << "KWrite is not installed";
    std::unique_ptr<LumenoProcess> lumeno;
    replyIn(QStringLiteral("KWrite"), waitForField(kwrite->pid()), lumeno);
    ASSERT_TRUE(lumeno);
    EXPECT_TRUE(logged(*lumeno, QStringLiteral("role AXTextArea editable"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("kwrite-reply"));
}

TEST_F(EditorApplications, GeditsHiddenInterfaceNeverReachesTheServer) {
    auto gedit = AccessibleTargets::editor(QStringLiteral("gedit"), profile.path());
    if (!gedit)
        GTEST_SKIP() << "gedit is not installed";
    std::unique_ptr<LumenoProcess> lumeno;
    replyIn(QStringLiteral("gedit"), waitForField(gedit->pid()), lumeno);
    ASSERT_TRUE(lumeno);
    // The window reads as mail, so the screen was read, and none of gedit's own lists went out.
    EXPECT_TRUE(logged(*lumeno, QStringLiteral("Read conversation: "))) << lumeno->log().toStdString();
    const QString request = lastRequest();
    ASSERT_FALSE(request.isEmpty());
    for (const QString& own : {QStringLiteral("Plain Text"), QStringLiteral("ABNF"), QStringLiteral("Bookmarks"),
                               QStringLiteral("File System"), QStringLiteral("Loading file")})
        EXPECT_FALSE(request.contains(own)) << own.toStdString() << " was sent:\n" << request.toStdString();
    // Nothing shows around the view but the user's own text: no conversation went out at all.
    EXPECT_FALSE(request.contains(QStringLiteral("<conversation>\n"))) << request.toStdString();
    EXPECT_TRUE(request.contains(QStringLiteral("There is no conversation on screen to go by."))) << request.toStdString();
    screenshotOnceStill(QStringLiteral("gedit-reply"));
}

} // namespace

} // namespace lumeno::e2e
