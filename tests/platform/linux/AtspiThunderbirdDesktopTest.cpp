#include "platform/linux/AtspiDesktopTest.h"

#include "foundation/SurfaceClassifier.h"
#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/linux/harness/ThunderbirdReply.h"
#include "platform/AXNames.h"
#include "screen/EditTarget.h"

namespace lumeno::desktop {
namespace {

// Thunderbird answering Bo Lind's message (target/friday-review.eml) in its compose window, the reply above
// the quote. The compose body is a document in design mode: each paragraph, the quote's header and the
// quote are embedded objects in its own text.
class AtspiThunderbirdTest : public AtspiApplicationTest<AtspiThunderbirdTest> {
public:
    static const char* applicationName() { return "Thunderbird"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        profile = std::make_unique<QTemporaryDir>();
        app = AccessibleTargets::thunderbird(profile->path());
        if (!app)
            return;
        accessibility = connect();
        QString why;
        field = ThunderbirdReply::answer(*accessibility, app->pid(), why);
        if (!field)
            setupNote = QStringLiteral(": ") + why;
    }

    QString value() const { return accessibility->string(*field, AXAttribute::value).value_or(QString()); }
};

TEST_F(AtspiThunderbirdTest, TheComposeBodyIsAMailFieldHoldingTheQuote) {
    const std::optional<FocusSnapshot> front = snapshot(*accessibility);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, field);
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_EQ(front->webURL, std::nullopt) << "the compose body is no web page";
    // Known as a mail client by its application id whatever profile suffix it carries.
    ASSERT_TRUE(front->bundleID);
    EXPECT_EQ(SurfaceClassifier::classify(front->bundleID, std::nullopt, std::nullopt), Surface::email)
        << front->bundleID->toStdString();
    const QString text = value();
    EXPECT_TRUE(text.contains(QStringLiteral("Bo Lind wrote:\n\nHi Ada,"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Can we move the review to Friday?")));
    EXPECT_FALSE(text.contains(QChar(0xFFFC)));
    saveScreen(QStringLiteral("atspi-thunderbird-compose"));
}

TEST_F(AtspiThunderbirdTest, AReplyAboveTheQuoteIsPastedReadAndRewrittenWhole) {
    DesktopInserter desktop(*accessibility);
    const FieldInserter::Outcome pasted =
        finish(desktop.inserter.insert(QStringLiteral("Sure, Friday works."), app->pid(), false), 10000);
    ASSERT_EQ(pasted, FieldInserter::Outcome::inserted(true)) << pasted.description().toStdString();
    const std::optional<EditTarget> own = EditTarget::whole(value());
    ASSERT_TRUE(own) << value().toStdString();
    EXPECT_EQ(own->text, QStringLiteral("Sure, Friday works."));

    // A word selected in the reply reads as the word.
    const qsizetype friday = value().indexOf(QStringLiteral("Friday"));
    ASSERT_TRUE(accessibility->setAttribute(*field, AXAttribute::selectedTextRange, TextRange{friday, 6}));
    ASSERT_TRUE(waitUntil([&] { return accessibility->string(*field, AXAttribute::selectedText) == QStringLiteral("Friday"); }));
    EXPECT_EQ(accessibility->range(*field, AXAttribute::selectedTextRange), (TextRange{friday, 6}));

    // The whole reply is rewritten: the user's part is selected and pasted over, the quote stays.
    const FieldInserter::Outcome rewritten =
        finish(desktop.inserter.replace(own->text, QStringLiteral("Friday is fine by me."),
                                        EditRequest::Scope::wholeField, app->pid()),
               10000);
    EXPECT_EQ(rewritten, FieldInserter::Outcome::inserted(true)) << rewritten.description().toStdString();
    EXPECT_EQ(EditTarget::whole(value()).value_or(EditTarget{}).text, QStringLiteral("Friday is fine by me."));
    EXPECT_TRUE(value().contains(QStringLiteral("Bo Lind wrote:\n\nHi Ada,"))) << value().toStdString();

    // Select-all takes in every paragraph and the quote, spelled out (and shows the rewritten reply).
    const QImage before = grabScreen();
    ASSERT_TRUE(selectAllAsTheUser(*accessibility, *field))
        << accessibility->string(*field, AXAttribute::selectedText).value_or(QStringLiteral("(none)")).toStdString();
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("atspi-thunderbird-rewritten"), before).isEmpty());
}

} // namespace
} // namespace lumeno::desktop
