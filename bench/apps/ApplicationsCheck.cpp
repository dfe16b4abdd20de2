// What works in the desktop's other editors, checked on the real application over the accessibility bus
// (run by bench/apps.sh, not by the test suite: LibreOffice, mousepad and the Qt 5 applications are large
// installs). Each application gets its text read, a word selected and read back, and a paste over it.
#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/DesktopUser.h"
#include "platform/AXNames.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lumeno::desktop {
namespace {

constexpr int startMs = 45000;
// The word the checks select is on the first line: LibreOffice gives each paragraph as a field of its own.
const QString letter = QStringLiteral("Friday suits me fine, Bo.\nAda\n");

QString writeLetter(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("letter.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(letter.toUtf8());
    return path;
}

// The application with its settings and session kept in `folder`, away from the user's own.
std::unique_ptr<AccessibleApp> start(const QString& program, const QStringList& arguments, const QTemporaryDir& folder,
                                     QProcessEnvironment environment = {}) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return nullptr;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.insert(QString::fromLatin1(variable), folder.filePath(QString::fromLatin1(variable)));
    return std::make_unique<AccessibleApp>(found, arguments, environment);
}

// The checks every editor goes through: its focused field found and read, a word in it selected and read
// back, and the word pasted over by the program's inserter.
template <class Suite>
class EditorCheck : public AtspiApplicationTest<Suite> {
protected:
    using Base = AtspiApplicationTest<Suite>;

    static void startWith(std::unique_ptr<AccessibleApp> started) {
        Base::app = std::move(started);
        if (!Base::app)
            return;
        Base::accessibility = Base::connect();
        // The process started, or its window's (LibreOffice's runs in a child of the one started).
        Base::waitUntil([] {
            const std::optional<FocusSnapshot> front = Base::snapshot(*Base::accessibility);
            for (const qint64 candidate : {Base::app->pid(), front ? front->pid : 0}) {
                Base::field = Base::accessibility->focusedElement(candidate);
                pid = candidate;
                if (Base::field && Base::accessibility->string(*Base::field, AXAttribute::value)
                                       .value_or(QString())
                                       .contains(QStringLiteral("Friday")))
                    return true;
            }
            return false;
        }, startMs);
        if (!Base::field)
            Base::setupNote = QStringLiteral(": no focused element");
    }

    void checkFieldIsRead() {
        // Asked cold, by a port that saw no focus event: as when Lumeno starts after the editor.
        const std::unique_ptr<AtspiAccessibility> cold = Base::connect();
        const std::optional<FocusSnapshot> front = Base::snapshot(*cold);
        Base::saveScreen(QStringLiteral("check-") + QString::fromLatin1(Suite::applicationName()) + QStringLiteral("-field"));
        ASSERT_TRUE(front);
        std::printf("[check] %s: role %s, %s, value %s\n", Suite::applicationName(),
                    qPrintable(front->role.value_or(QStringLiteral("none"))),
                    qPrintable(FocusSnapshot::caseName(front->editability)),
                    qPrintable(Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString()).toHtmlEscaped()));
        EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
        EXPECT_TRUE(front->role == AXRole::textArea || front->role == AXRole::textField) << front->role->toStdString();
    }

    void checkSelectionAndPaste() {
        const QString value = Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString());
        const qsizetype friday = value.indexOf(QStringLiteral("Friday"));
        ASSERT_GE(friday, 0);
        ASSERT_TRUE(Base::accessibility->setAttribute(*Base::field, AXAttribute::selectedTextRange, TextRange{friday, 6}));
        ASSERT_TRUE(Base::waitUntil([&] {
            return Base::accessibility->string(*Base::field, AXAttribute::selectedText) == QStringLiteral("Friday");
        })) << Base::accessibility->string(*Base::field, AXAttribute::selectedText).value_or(QStringLiteral("(none)")).toStdString();
        DesktopInserter desktop(*Base::accessibility);
        const QImage before = Base::grabScreen();
        const FieldInserter::Outcome outcome =
            Base::finish(desktop.inserter.replace(QStringLiteral("Friday"), QStringLiteral("Thursday"),
                                                  EditRequest::Scope::selection, pid),
                         15000);
        std::printf("[check] %s: edit %s\n", Suite::applicationName(), qPrintable(outcome.description()));
        EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(true)) << outcome.description().toStdString();
        EXPECT_TRUE(Base::waitUntil([&] {
            return Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString()).contains(
                QStringLiteral("Thursday suits"));
        }));
        Base::screenshotOnceChanged(QStringLiteral("check-") + QString::fromLatin1(Suite::applicationName()), before);
    }

    static inline std::unique_ptr<QTemporaryDir> folder;
    static inline qint64 pid = 0;
};

class Mousepad : public EditorCheck<Mousepad> {
public:
    static const char* applicationName() { return "mousepad"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        folder = std::make_unique<QTemporaryDir>();
        startWith(start(QStringLiteral("mousepad"), {QStringLiteral("--disable-server"), writeLetter(*folder)}, *folder));
    }
};

TEST_F(Mousepad, TheTextIsRead) { checkFieldIsRead(); }
TEST_F(Mousepad, AWordIsSelectedAndPastedOver) { checkSelectionAndPaste(); }

class LibreOfficeWriter : public EditorCheck<LibreOfficeWriter> {
public:
    static const char* applicationName() { return "libreoffice-writer"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        folder = std::make_unique<QTemporaryDir>();
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("SAL_USE_VCLPLUGIN"), QStringLiteral("gtk3"));
        startWith(start(QStringLiteral("soffice"),
                        {QStringLiteral("--writer"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                         QStringLiteral("-env:UserInstallation=file://") + folder->filePath(QStringLiteral("profile")),
                         writeLetter(*folder)},
                        *folder, environment));
    }
};

TEST_F(LibreOfficeWriter, TheParagraphIsRead) { checkFieldIsRead(); }
TEST_F(LibreOfficeWriter, AWordIsSelectedAndPastedOver) { checkSelectionAndPaste(); }

class KWrite : public EditorCheck<KWrite> {
public:
    static const char* applicationName() { return "kwrite"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        folder = std::make_unique<QTemporaryDir>();
        startWith(start(QStringLiteral("kwrite"), {writeLetter(*folder)}, *folder));
    }
};

TEST_F(KWrite, TheTextIsRead) { checkFieldIsRead(); }
TEST_F(KWrite, AWordIsSelectedAndPastedOver) { checkSelectionAndPaste(); }

// Qt 5's editable combo box: the combo and its line edit both say they have the focus.
class Qt5Window : public EditorCheck<Qt5Window> {
public:
    static const char* applicationName() { return "qt5-window"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        app = std::make_unique<AccessibleApp>(QStringLiteral("/usr/bin/python3"),
                                              QStringList{QStringLiteral(LUMENO_QT5_WINDOW)});
        if (!app->waitUntilReady()) {
            app.reset();
            return;
        }
        accessibility = connect();
        field = waitForFocus(*accessibility, app->pid(), AXRole::textField, startMs);
    }
};

TEST_F(Qt5Window, TheFindBarsEditableComboBoxGivesItsLineEdit) {
    EXPECT_EQ(accessibility->string(*field, AXAttribute::value), QStringLiteral("budget"));
    const std::optional<FocusSnapshot> front = snapshot(*accessibility);
    ASSERT_TRUE(front);
    std::printf("[check] qt5-window: combo focus gives role %s, value %s\n",
                qPrintable(front->role.value_or(QStringLiteral("none"))),
                qPrintable(accessibility->string(*field, AXAttribute::value).value_or(QStringLiteral("(none)"))));
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
}

// How often a Qt 5 application shows itself on the accessibility bus, each launch given a fair while.
TEST(Qt5Joining, LaunchesThatReachTheAccessibilityBus) {
    if (!AtspiDesktopTest::canRun())
        GTEST_SKIP() << "no desktop";
    constexpr int launches = 7;
    const std::unique_ptr<AtspiAccessibility> accessibility = std::make_unique<AtspiAccessibility>(
        QCoreApplication::applicationPid(), AccessibilityBus::instance().accessibilityAddress());
    for (const bool alwaysOn : {false, true}) {
        int joined = 0;
        for (int launch = 0; launch < launches; ++launch) {
            QProcessEnvironment environment;
            if (alwaysOn)
                environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
            AccessibleApp app(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LUMENO_QT5_WINDOW)}, environment);
            app.waitUntilReady();
            if (DesktopTest::waitUntil([&] { return accessibility->toolkitName(app.pid()).has_value(); }, 10000))
                ++joined;
        }
        std::printf("[check] qt5 joined the bus in %d of %d launches%s\n", joined, launches,
                    alwaysOn ? " with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" : "");
    }
}

} // namespace
} // namespace lumeno::desktop
