// "Quit Lumeno" ends the program, whatever windows are open: none of them can keep a process running
// whose hot key and clipboard watch have already stopped.
#include "e2e/TrayFixture.h"
#include "e2e/harness/ScreenButtons.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumeno::e2e {

namespace {

class Quitting : public TrayFixture {
protected:
    // Quits from the tray menu (its last item) and expects the process to end cleanly.
    void quitFromTheMenu(xcb_window_t icon, const QString& shot) {
        const std::optional<xcb_window_t> menu = openMenu(icon);
        ASSERT_TRUE(menu) << "the tray menu did not open";
        ASSERT_TRUE(waitUntilDrawn(*menu));
        screenshot(shot);
        chooseInOpenMenu(*menu, -1);
        EXPECT_EQ(lumeno->waitForExit(), 0) << shot.toStdString() << ": still running\n" << lumeno->log().toStdString();
    }
};

// Quitting keeps what closing the window keeps: the notes typed into a person's card, not saved yet, are in
// memory.json once the program has ended, also on a disk that takes a second to write.
TEST_F(Quitting, WithAnEditTypedIntoAPersonsNotesKeepsTheEdit) {
    becomeReturningUser();
    const QString memoryFile = home.supportFile(QStringLiteral("memory.json"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(memoryFile).path()));
    {
        const QJsonObject bo{{"id", "0F8FAD5B-D9CB-469F-A165-70867728950E"}, {"name", "Bo Lind"}, {"aliases", QJsonArray()},
                             {"notes", "Likes mornings."}, {"createdAt", "2026-03-01T09:30:00Z"},
                             {"updatedAt", "2026-03-01T09:30:00Z"}};
        QFile file(memoryFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{"version", 1}, {"people", QJsonArray{bo}}, {"commitments", QJsonArray()},
                                             {"pins", QJsonArray()}})
                       .toJson());
    }
    lumeno = launch(std::nullopt, {QStringLiteral("LD_PRELOAD=" LUMENO_SLOW_DISK_LIBRARY)});
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    choose(*icon, 2); // Pause, Memory…
    const std::optional<xcb_window_t> window = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno Memory"));
    ASSERT_TRUE(window) << lumeno->log().toStdString();
    // The section switch: its first segment clicked, then the arrow key to the next, People.
    std::optional<QRect> sections;
    ASSERT_TRUE(waitUntil([&] { return (sections = ScreenButtons::find(lumeno->pid(), QStringLiteral("Section"))).has_value(); }));
    user.click(sections->left() + 8, sections->center().y());
    user.tap(rightKey);
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Bo Lind")));
    // The notes editor, not its heading: the editor is the one tall enough to type into.
    std::optional<QRect> notes;
    ASSERT_TRUE(waitUntil([&] {
        notes = ScreenButtons::find(lumeno->pid(), QStringLiteral("Notes"));
        return notes && notes->height() > 40;
    })) << "no notes editor";
    user.click(notes->right() - 10, notes->bottom() - 10);
    ASSERT_TRUE(user.type(QStringLiteral(" Call after ten.")));
    screenshotOnceStill(QStringLiteral("notes-typed"));

    chord({control}, letterQ);
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
    QFile file(memoryFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray people = QJsonDocument::fromJson(file.readAll()).object().value("people").toArray();
    ASSERT_EQ(people.size(), 1);
    EXPECT_EQ(people.first().toObject().value("notes").toString().toStdString(), "Likes mornings. Call after ten.")
        << lumeno->log().toStdString();
}

TEST_F(Quitting, WithTheGuideSetupSettingsAndMemoryOpen) {
    // Accessibility off, as on a stock desktop: signed out, the items that can be chosen are Sign In…,
    // Allow Permissions…, Pause, Memory…, How to Use, Check for Updates…, Settings…, Quit Lumeno.
    session().accessibility().setEnabled(false);
    const std::shared_ptr<void> restore(nullptr, [](void*) { session().accessibility().setEnabled(true); });
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    ASSERT_TRUE(waitForWindow(lumeno->pid(), QStringLiteral("Lumeno"))) << "the guide did not open";
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    for (const auto& [steps, title] : {std::pair{2, QStringLiteral("Allow Lumeno")}, std::pair{7, QStringLiteral("Lumeno Settings — General")},
                                       std::pair{4, QStringLiteral("Lumeno Memory")}}) {
        choose(*icon, steps);
        ASSERT_TRUE(waitForWindow(lumeno->pid(), title)) << title.toStdString() << "\n" << lumeno->log().toStdString();
    }
    quitFromTheMenu(*icon, QStringLiteral("guide-setup-settings-memory"));
}

TEST_F(Quitting, WithEachWindowOpen) {
    becomeReturningUser();
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    // Signed in with everything allowed and draft details shown, the items that can be chosen are: Pause,
    // Memory…, Debug Window…, How to Use, Check for Updates…, Settings…, Quit Lumeno.
    struct Opening {
        int steps;
        QString title; // empty: the how-to panel, which has no title
        QString shot;
    };
    for (const Opening& opening : {Opening{6, QStringLiteral("Lumeno Settings — General"), QStringLiteral("settings")},
                                   Opening{2, QStringLiteral("Lumeno Memory"), QStringLiteral("memory")},
                                   Opening{3, QStringLiteral("Lumeno Debug"), QStringLiteral("debug")},
                                   Opening{4, QString(), QStringLiteral("how-to")}}) {
        SCOPED_TRACE(opening.shot.toStdString());
        lumeno = launch(spoken(QStringLiteral("Hello")));
        ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
        const std::optional<xcb_window_t> icon = waitForIcon();
        ASSERT_TRUE(icon) << lumeno->log().toStdString();
        const std::vector<xcb_window_t> before = windowsOf(lumeno->pid());
        choose(*icon, opening.steps);
        ASSERT_TRUE(waitUntil([&] {
            for (const xcb_window_t window : windowsOf(lumeno->pid(), opening.title)) {
                if (std::find(before.begin(), before.end(), window) == before.end() && isViewable(window))
                    return true;
            }
            return false;
        })) << opening.shot.toStdString() << " did not open\n" << lumeno->log().toStdString();
        quitFromTheMenu(*icon, opening.shot);
    }
}

} // namespace

} // namespace lumeno::e2e
