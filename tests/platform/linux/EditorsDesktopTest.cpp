// The desktop's editors, each a large install of its own (run by `make test-apps`, not `make test`):
// mousepad, LibreOffice Writer and KWrite. Each gets its field found and read, a word pasted over a
// selection, and a reply of several paragraphs pasted at the caret, with the inserter's word on each paste
// held against what the editor really shows.
#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"

#include <QFile>
#include <QStringList>

namespace lumeno::desktop {
namespace {

constexpr int startMs = 45000;
// The word the checks select is on the first line: LibreOffice gives each paragraph as a field of its own.
const QString letter = QStringLiteral("Friday suits me fine, Bo.\nAda\n");
// Pasted after "Thursday" once the word is in: it splits the first line in two.
const QString reply = QStringLiteral(" or Friday.\n\nI'll bring the plans.\nBest,");

QString writeLetter(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("letter.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(letter.toUtf8());
    return path;
}

// Every run of white space as one space: editors turn line breaks into paragraphs.
QString folded(const QString& text) { return text.simplified(); }

// The checks every editor goes through, in this order: its focused field found and read, a word in it
// selected and pasted over, and a reply of several paragraphs pasted after it.
template <class Suite>
class EditorTest : public AtspiApplicationTest<Suite> {
protected:
    using Base = AtspiApplicationTest<Suite>;

    void SetUp() override {
        // `make test-apps` installs every editor: there a missing one is a failure, not a skip.
        if (!Base::app && qEnvironmentVariableIsSet("LUMENO_APPS_REQUIRED"))
            FAIL() << Suite::applicationName() << " is not installed";
        Base::SetUp();
    }

    // The editor with the letter open, once its field holds it.
    static void SetUpTestSuite() {
        if (!Base::canRun())
            return;
        folder = std::make_unique<QTemporaryDir>();
        Base::app = Suite::start(folder->path(), writeLetter(*folder));
        if (!Base::app)
            return;
        Base::accessibility = Base::connect();
        // The process started, or its window's (LibreOffice's runs in a child of the one started).
        Base::waitUntil([] {
            const std::optional<FocusSnapshot> front = Base::snapshot(*Base::accessibility);
            for (const qint64 candidate : {Base::app->pid(), front ? front->pid : 0}) {
                Base::field = Base::accessibility->focusedElement(candidate);
                pid = candidate;
                if (Base::field && value().contains(QStringLiteral("Friday")))
                    return true;
            }
            return false;
        }, startMs);
        if (!Base::field)
            Base::setupNote = QStringLiteral(": no focused element");
    }

    static QString value() {
        return Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString());
    }
    // The whole text as the editor shows it: the field's, then its paragraphs' where each is an element.
    static QString documentText() {
        QStringList lines{value()};
        if (const std::optional<AccessibleElement> parent = Base::accessibility->parent(*Base::field)) {
            for (const AccessibleElement& sibling : Base::accessibility->children(*parent))
                if (const std::optional<QString> line = Base::accessibility->string(sibling, AXAttribute::value))
                    lines.append(*line);
        }
        return lines.join(QLatin1Char('\n'));
    }
    static std::string name(const char* step) {
        return std::string("editor-") + Suite::applicationName() + "-" + step;
    }

    void checkFieldIsRead() {
        // Asked cold, by a port that saw no focus event: as when Lumeno starts after the editor.
        const std::unique_ptr<AtspiAccessibility> cold = Base::connect();
        const std::optional<FocusSnapshot> front = Base::snapshot(*cold);
        Base::saveScreen(QString::fromStdString(name("field")));
        ASSERT_TRUE(front);
        EXPECT_EQ(front->pid, pid);
        EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
        EXPECT_TRUE(front->role == AXRole::textArea || front->role == AXRole::textField)
            << front->role.value_or(QStringLiteral("none")).toStdString();
        EXPECT_TRUE(value().startsWith(QStringLiteral("Friday suits me fine, Bo."))) << value().toStdString();
    }

    void checkAWordIsPastedOverASelection() {
        const qsizetype friday = value().indexOf(QStringLiteral("Friday"));
        ASSERT_GE(friday, 0);
        ASSERT_TRUE(Base::accessibility->setAttribute(*Base::field, AXAttribute::selectedTextRange, TextRange{friday, 6}));
        ASSERT_TRUE(Base::waitUntil([&] {
            return Base::accessibility->string(*Base::field, AXAttribute::selectedText) == QStringLiteral("Friday");
        })) << Base::accessibility->string(*Base::field, AXAttribute::selectedText).value_or(QStringLiteral("(none)")).toStdString();
        DesktopInserter desktop(*Base::accessibility);
        const QImage before = Base::grabScreen();
        const FieldInserter::Outcome outcome = Base::finish(
            desktop.inserter.replace(QStringLiteral("Friday"), QStringLiteral("Thursday"), EditRequest::Scope::selection, pid),
            15000);
        const bool landed = Base::waitUntil([&] { return value().contains(QStringLiteral("Thursday suits")); });
        EXPECT_TRUE(landed) << value().toStdString();
        EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(landed)) << outcome.description().toStdString();
        Base::screenshotOnceChanged(QString::fromStdString(name("word")), before);
    }

    void checkParagraphsArePastedAtTheCaret() {
        const qsizetype thursday = value().indexOf(QStringLiteral("Thursday"));
        ASSERT_GE(thursday, 0) << "the word paste before it did not land";
        const TextRange caret{thursday + 8, 0};
        ASSERT_TRUE(Base::accessibility->setAttribute(*Base::field, AXAttribute::selectedTextRange, caret));
        ASSERT_TRUE(Base::waitUntil([&] {
            return Base::accessibility->range(*Base::field, AXAttribute::selectedTextRange) == caret;
        }));
        DesktopInserter desktop(*Base::accessibility);
        const QImage before = Base::grabScreen();
        const FieldInserter::Outcome outcome = Base::finish(desktop.inserter.insert(reply, pid, true), 15000);
        const QString wanted = QStringLiteral("Thursday or Friday. I'll bring the plans. Best, suits me fine, Bo.");
        const bool landed = Base::waitUntil([&] { return folded(documentText()).contains(wanted); });
        EXPECT_TRUE(landed) << documentText().toStdString();
        // Confirmed exactly when it is there: a reply that is there and said not to be gets pasted twice.
        EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(landed)) << outcome.description().toStdString();
        EXPECT_EQ(desktop.inserter.lastLineBreaks(), (FieldInserter::LineBreaks{3, 3, false}));
        Base::screenshotOnceChanged(QString::fromStdString(name("paragraphs")), before);
    }

    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline qint64 pid = 0;
};

#define LUMENO_EDITOR_TESTS(Suite, name, starter)                                                    \
    class Suite : public EditorTest<Suite> {                                                            \
    public:                                                                                             \
        static const char* applicationName() { return name; }                                           \
        static std::unique_ptr<AccessibleApp> start(const QString& folder, const QString& document) {   \
            return starter(folder, document);                                                           \
        }                                                                                               \
    };                                                                                                  \
    TEST_F(Suite, TheFieldIsFoundAndRead) { checkFieldIsRead(); }                                       \
    TEST_F(Suite, AWordIsPastedOverASelectionAndConfirmed) { checkAWordIsPastedOverASelection(); }     \
    TEST_F(Suite, AReplyOfSeveralParagraphsIsPastedAndConfirmed) { checkParagraphsArePastedAtTheCaret(); }

LUMENO_EDITOR_TESTS(Mousepad, "mousepad", AccessibleTargets::mousepad)
LUMENO_EDITOR_TESTS(LibreOfficeWriter, "libreoffice-writer", AccessibleTargets::libreOfficeWriter)
LUMENO_EDITOR_TESTS(KWrite, "kwrite", AccessibleTargets::kwrite)

} // namespace
} // namespace lumeno::desktop
