// A key combination as the hot key, held in the editors and browsers people answer in: the field under it is
// read as with a single modifier key (its role, the conversation around it, the text to rewrite), and the
// draft lands in it. The combination's key never types into the field.
#include "e2e/harness/E2eTest.h"
#include "foundation/Hotkey.h"
#include "platform/AXNames.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/harness/AccessibleTargets.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace lumeno::e2e {

namespace {

using desktop::AccessibleApp;
using desktop::AccessibleTargets;
using desktop::DesktopUser;

constexpr int applicationStartMs = 30000;
constexpr quint8 spaceKey = 65; // pc105
const QString reply = QStringLiteral("Friday works for me.");
const QString rewritten = QStringLiteral("Thursday works for me.");

class CombinationHotkey : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        if (IsSkipped())
            return;
        becomeReturningUser();
        using namespace VirtualKey;
        home.setSetting(QStringLiteral("hotkey"),
                        Hotkey::combo(KeyCombo{space, controlFlag | shiftFlag}).toJson());
        accessibility = std::make_unique<AtspiAccessibility>(
            QCoreApplication::applicationPid(), session().accessibility().accessibilityAddress());
    }

    // mousepad with a reply to Bo's mail in its document, the caret at its start (the file's name tells it is
    // a mail).
    std::unique_ptr<AccessibleApp> mousepad() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("mousepad"));
        if (program.isEmpty())
            return nullptr;
        QFile letter(folder.filePath(QStringLiteral("Reply to Bo.txt")));
        if (!letter.open(QIODevice::WriteOnly))
            return nullptr;
        letter.write(
            "\n\nBo Lind wrote:\nHi, can we move the review to Friday? I need the budget numbers first.\n");
        letter.close();
        QProcessEnvironment environment;
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            environment.insert(QString::fromLatin1(variable), folder.filePath(QString::fromLatin1(variable)));
        return std::make_unique<AccessibleApp>(
            program, QStringList{QStringLiteral("--disable-server"), letter.fileName()}, environment);
    }

    // Holds the combination (with Super for the edit one) while the recording plays, as the user does while
    // speaking, lets go and waits for the outcome; the log lines of this dictation. Seconds into the hold,
    // the application still shows `field` focused.
    QStringList dictate(LumenoProcess& lumeno, qint64 pid, const AccessibleElement& field, bool edit) {
        const qsizetype seen = qsizetype(lumeno.lines().size());
        user.press(DesktopUser::leftControl);
        user.press(DesktopUser::leftShift);
        if (edit)
            user.press(DesktopUser::leftSuper);
        user.press(spaceKey);
        const bool played = lumeno
                                .waitForLineContaining(QStringLiteral("The audio file has played to its end"),
                                                       patienceMs, seen)
                                .has_value();
        EXPECT_EQ(accessibility->focusedElement(pid), field)
            << "the field lost the focus while the key was held";
        user.release(spaceKey);
        if (edit)
            user.release(DesktopUser::leftSuper);
        user.release(DesktopUser::leftShift);
        user.release(DesktopUser::leftControl);
        EXPECT_TRUE(played) << lumeno.log().toStdString();
        EXPECT_TRUE(lumeno.waitForLineContaining(QStringLiteral(" outcome: "), patienceMs, seen))
            << lumeno.log().toStdString();
        QStringList lines;
        for (auto line = lumeno.lines().begin() + seen; line != lumeno.lines().end(); ++line)
            lines.append(line->text);
        return lines;
    }

    void answerWith(const QString& text) {
        server.setDraftAnswer(
            200, QJsonDocument(QJsonObject{{"text", text}, {"provider", "anthropic"}, {"model", "m"}})
                     .toJson(QJsonDocument::Compact));
    }
    // The system and user texts of the last drafting request.
    QString lastRequest() const {
        const std::vector<testing::TestServer::Seen> drafts = server.drafts();
        if (drafts.empty())
            return {};
        const QJsonObject body = QJsonDocument::fromJson(drafts.back().body).object();
        return body.value(QLatin1String("system")).toString() + QLatin1Char('\n') +
               body.value(QLatin1String("user")).toString();
    }
    QString value(const AccessibleElement& field) const {
        return accessibility->string(field, AXAttribute::value).value_or(QString());
    }

    // The reply key, then the edit key over the reply it put there, in `app`'s focused text area below a
    // conversation holding `conversationLine`; none where the window is no mail or chat the program knows,
    // and so is never read for one.
    void replyThenEdit(AccessibleApp* app, const std::optional<QString>& conversationLine) {
        if (!app)
            GTEST_SKIP() << "the application is not installed";
        std::optional<AccessibleElement> field;
        ASSERT_TRUE(waitUntil(
            [&] {
                field = accessibility->focusedElement(app->pid());
                return field && accessibility->string(*field, AXAttribute::role) == AXRole::textArea;
            },
            applicationStartMs))
            << "the application never showed its field on the accessibility bus";
        ASSERT_TRUE(waitUntil([&] {
            const std::vector<xcb_window_t> windows = windowsOf(app->pid());
            return std::find(windows.begin(), windows.end(), activeWindow().value_or(XCB_NONE)) !=
                   windows.end();
        })) << "the window manager never made the application's window the active one";
        auto lumeno = launch(spoken(QStringLiteral("Tell Bo Friday works")));
        ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();

        answerWith(reply);
        const QStringList replying = dictate(*lumeno, app->pid(), *field, false);
        EXPECT_TRUE(waitUntil([&] { return value(*field).contains(reply); }))
            << value(*field).toStdString() << "\n"
            << lumeno->log().toStdString();
        screenshotOnceStill(QStringLiteral("reply"));
        EXPECT_TRUE(replying.filter(QStringLiteral("Target "))
                        .join('\n')
                        .contains(QStringLiteral(" role AXTextArea editable")))
            << replying.join('\n').toStdString();
        QString request = lastRequest();
        if (conversationLine) {
            EXPECT_TRUE(request.contains(*conversationLine)) << request.toStdString();
            EXPECT_FALSE(request.contains(QStringLiteral("There is no conversation on screen")))
                << request.toStdString();
        }
        EXPECT_FALSE(value(*field).contains(QLatin1Char(' ') + reply))
            << "the combination's space typed into the field";

        // The user selects the reply and holds the edit combination to rewrite it.
        const qsizetype start = value(*field).indexOf(reply);
        ASSERT_GE(start, 0);
        ASSERT_TRUE(accessibility->setAttribute(*field, AXAttribute::selectedTextRange,
                                                TextRange{start, reply.size()}));
        ASSERT_TRUE(
            waitUntil([&] { return accessibility->string(*field, AXAttribute::selectedText) == reply; }));
        answerWith(rewritten);
        const QStringList editing = dictate(*lumeno, app->pid(), *field, true);
        EXPECT_TRUE(editing.filter(QStringLiteral("Listening (hold, edit)")).size() == 1)
            << editing.join('\n').toStdString();
        EXPECT_TRUE(editing.filter(QStringLiteral("Target "))
                        .join('\n')
                        .contains(QStringLiteral(" role AXTextArea editable")))
            << editing.join('\n').toStdString();
        request = lastRequest();
        EXPECT_TRUE(request.contains(QStringLiteral("<text_to_rewrite>\n") + reply +
                                     QStringLiteral("\n</text_to_rewrite>")))
            << request.toStdString();
        if (conversationLine)
            EXPECT_TRUE(request.contains(*conversationLine)) << request.toStdString();
        EXPECT_TRUE(waitUntil([&] {
            return value(*field).contains(rewritten) && !value(*field).contains(reply);
        })) << value(*field).toStdString()
            << "\n"
            << lumeno->log().toStdString();
        screenshotOnceStill(QStringLiteral("edited"));
    }

    QTemporaryDir folder;
    std::unique_ptr<AtspiAccessibility> accessibility;
};

TEST_F(CombinationHotkey, ReadsAndWritesMousepadsDocument) {
    const auto app = mousepad();
    replyThenEdit(app.get(), QStringLiteral("can we move the review to Friday?"));
}

TEST_F(CombinationHotkey, ReadsAndWritesTheQtConversationsReplyField) {
    const auto app = AccessibleTargets::qt();
    replyThenEdit(app.get(), std::nullopt);
}

TEST_F(CombinationHotkey, ReadsAndWritesAFirefoxWebMailReply) {
    const auto app = AccessibleTargets::firefox(folder.path(), AccessibleTargets::webMailPage(true));
    replyThenEdit(app.get(), QStringLiteral("Hi, can we move the review to Friday?"));
}

TEST_F(CombinationHotkey, ReadsAndWritesAChromiumWebMailReply) {
    const auto app = AccessibleTargets::chromium(folder.path(), AccessibleTargets::webMailPage(true));
    replyThenEdit(app.get(), QStringLiteral("Hi, can we move the review to Friday?"));
}

} // namespace

} // namespace lumeno::e2e
