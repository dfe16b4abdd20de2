#include "platform/linux/DesktopEntries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

// Two applications folders as a desktop has them: the user's own, then the system's.
class DesktopEntriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(user.isValid() && system.isValid());
        write(system, "thunderbird.desktop",
              "[Desktop Entry]\nType=Application\nName=Thunderbird\nStartupWMClass=thunderbird-default\n\n"
              "[Desktop Action ComposeMessage]\nName=Write new message\n");
        write(system, "org.gnome.Evolution.desktop", "[Desktop Entry]\nName=Evolution\nType=Application\n");
        write(system, "kde/kate.desktop", "# The editor\n[Desktop Entry]\nType=Application\nName=Kate\\sEditor\n");
        write(system, "gedit.desktop", "[Desktop Entry]\nType=Application\nName=Text Editor\n");
        write(user, "gedit.desktop", "[Desktop Entry]\nType=Application\nName=My Gedit\n");
        write(system, "removed.desktop", "[Desktop Entry]\nType=Application\nName=Removed\nHidden=true\n");
        write(system, "site.desktop", "[Desktop Entry]\nType=Link\nName=Web Site\nURL=https://example.com\n");
    }

    static void write(const QTemporaryDir& folder, const QString& name, const QByteArray& text) {
        const QString path = folder.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir user, system;
};

TEST_F(DesktopEntriesTest, AWindowClassIsCalledByItsApplicationsName) {
    const DesktopEntries entries = DesktopEntries::readFrom({user.path(), system.path()});
    struct Case {
        const char* instance;
        const char* className;
        std::optional<QString> name;
    };
    const Case cases[] = {
        {"Mail", "thunderbird-default", QStringLiteral("Thunderbird")}, // its StartupWMClass, not an action's name
        {"mail", "THUNDERBIRD-DEFAULT", QStringLiteral("Thunderbird")},
        {"evolution", "Evolution", QStringLiteral("Evolution")},        // the last part of a reverse-domain id
        {"kde-kate", "", QStringLiteral("Kate Editor")},               // a subfolder's id, an escaped space
        {"gedit", "Gedit", QStringLiteral("My Gedit")},                // the user's own entry wins
        {"removed", "Removed", std::nullopt},
        {"site", "Site", std::nullopt},                                // a link is no application
        {"gtk-mail.py", "Gtk-mail.py", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(entries.nameOf(QString::fromUtf8(c.instance), QString::fromUtf8(c.className)), c.name)
            << c.instance << " " << c.className;
}

} // namespace
} // namespace lumeno
