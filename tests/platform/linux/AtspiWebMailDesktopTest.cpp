#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"
#include "screen/ContextPacker.h"

namespace lumeno::desktop {
namespace {

constexpr int browserStartMs = 30000;

struct InChromium {
    static QString name() { return QStringLiteral("chromium"); }
    static std::unique_ptr<AccessibleApp> start(const QString& profile) {
        return AccessibleTargets::chromium(profile, AccessibleTargets::webMailPage());
    }
};

struct InFirefox {
    static QString name() { return QStringLiteral("firefox"); }
    static std::unique_ptr<AccessibleApp> start(const QString& profile) {
        return AccessibleTargets::firefox(profile, AccessibleTargets::webMailPage());
    }
};

// A web mail thread answered in a rich editor of three paragraphs (target/webmail.html), in each browser.
// Each paragraph is one embedded object in the editor's own text.
template <class Browser>
class AtspiWebMailTest : public AtspiApplicationTest<AtspiWebMailTest<Browser>> {
public:
    static std::string applicationName() { return Browser::name().toStdString(); }

protected:
    using Base = AtspiApplicationTest<AtspiWebMailTest<Browser>>;

    static void SetUpTestSuite() {
        if (!Base::canRun())
            return;
        Base::profile = std::make_unique<QTemporaryDir>();
        Base::app = Browser::start(Base::profile->path());
        if (!Base::app)
            return;
        Base::accessibility = Base::connect();
        Base::field = Base::waitForFocus(*Base::accessibility, Base::app->pid(), AXRole::textArea, browserStartMs);
        // Gecko fills in the page's objects a moment after the focus arrives.
        if (Base::field)
            Base::waitUntil([] { return Base::accessibility->string(*Base::field, AXAttribute::value) == initialDraft(); });
    }

    static QString initialDraft() { return QStringLiteral("Hi Bo,\nFriday suits me 🎉 fine.\nAda"); }

    QString value() const { return Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString()); }
};

using Browsers = ::testing::Types<InChromium, InFirefox>;
TYPED_TEST_SUITE(AtspiWebMailTest, Browsers);

TYPED_TEST(AtspiWebMailTest, TheEditorReadsAsItsParagraphsAndTheThreadWithoutTheEditorsLabel) {
    const std::optional<FocusSnapshot> front = this->snapshot(*this->accessibility);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, this->field);
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_EQ(front->webURL, AccessibleTargets::webMailPage().toString());
    EXPECT_EQ(this->value(), this->initialDraft());

    const std::optional<ScreenReader::Conversation> read = this->conversation(*this->accessibility, *this->field);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->text.contains(QStringLiteral("Bo Lind <bo@example.com>\nTo: Me\nMon 7 Dec, 09:00\nHi, can we "
                                                   "move the review to Friday? I need the budget numbers first.\nBo\n"
                                                   "To: Bo Lind")))
        << read->text.toStdString();
    EXPECT_FALSE(read->text.contains(QStringLiteral("Message Bo Lind"))) << read->text.toStdString();
    EXPECT_FALSE(read->text.contains(QStringLiteral("suits me")));
    // The reply's own To line is the last thing above the field.
    EXPECT_TRUE(read->text.left(read->fieldOffset).trimmed().endsWith(QStringLiteral("To: Bo Lind")));
    this->saveScreen(QStringLiteral("atspi-webmail-") + TypeParam::name());
}

TYPED_TEST(AtspiWebMailTest, AWordSelectedInAParagraphIsReadAsTheWordAndAnEditReplacesIt) {
    const qsizetype friday = this->value().indexOf(QStringLiteral("Friday"));
    ASSERT_GE(friday, 0);
    ASSERT_TRUE(this->accessibility->setAttribute(*this->field, AXAttribute::selectedTextRange, TextRange{friday, 6}));
    ASSERT_TRUE(this->waitUntil([&] {
        return this->accessibility->string(*this->field, AXAttribute::selectedText) == QStringLiteral("Friday");
    })) << this->accessibility->string(*this->field, AXAttribute::selectedText).value_or(QStringLiteral("(none)")).toStdString();
    EXPECT_EQ(this->accessibility->range(*this->field, AXAttribute::selectedTextRange), (TextRange{friday, 6}));
    const std::optional<FocusSnapshot> front = this->snapshot(*this->accessibility);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->selectedText, QStringLiteral("Friday"));

    DesktopInserter desktop(*this->accessibility);
    const QImage before = this->grabScreen();
    const FieldInserter::Outcome outcome = this->finish(
        desktop.inserter.replace(QStringLiteral("Friday"), QStringLiteral("Thursday"), EditRequest::Scope::selection,
                                 this->app->pid()),
        10000);
    EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(true)) << outcome.description().toStdString();
    // Gecko's editor keeps the space after a paste visible as a no-break space.
    EXPECT_EQ(this->value().replace(QChar(0xA0), QLatin1Char(' ')), QStringLiteral("Hi Bo,\nThursday suits me 🎉 fine.\nAda"));
    // A web mail page: the HTML copy went along.
    ASSERT_TRUE(desktop.inserter.lastLineBreaks());
    EXPECT_TRUE(desktop.inserter.lastLineBreaks()->rich);
    EXPECT_FALSE(
        this->screenshotOnceChanged(QStringLiteral("atspi-webmail-edited-") + TypeParam::name(), before).isEmpty());

    // All of it selected by the user: every paragraph's words, not one U+FFFC for each.
    ASSERT_TRUE(this->selectAllAsTheUser(*this->accessibility, *this->field))
        << this->accessibility->string(*this->field, AXAttribute::selectedText).value_or(QStringLiteral("(none)")).toStdString();
}

} // namespace
} // namespace lumeno::desktop
