#include "platform/linux/LinuxWorkspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

using Page = Workspace::SettingsPage;

// The desktop's tools are looked up on PATH: the test puts a folder of stand-in programs there, and records
// what would have been started instead of starting it.
class LinuxWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tools.isValid());
        previousPath = qgetenv("PATH");
        qputenv("PATH", tools.path().toUtf8());
    }
    void TearDown() override { qputenv("PATH", previousPath); }

    void install(const QString& program) {
        QFile file(tools.filePath(program));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    LinuxWorkspace workspace(const QString& desktop) {
        LinuxWorkspace result(desktop);
        result.launch = [this](const QString& program, const QStringList& arguments) {
            started.push_back(QFileInfo(program).fileName() + (arguments.isEmpty() ? "" : " ") +
                              arguments.join(' '));
            return true;
        };
        return result;
    }

    QTemporaryDir tools;
    QByteArray previousPath;
    QStringList started;
};

TEST_F(LinuxWorkspaceTest, EachDesktopOpensItsOwnPanelsFirst) {
    install("gnome-control-center");
    install("systemsettings");
    const std::pair<const char*, QStringList> desktops[] = {
        {"ubuntu:GNOME", {"gnome-control-center sound", "gnome-control-center universal-access"}},
        {"KDE", {"systemsettings kcm_pulseaudio", "systemsettings kcm_access"}},
        {"X-Cinnamon", {"gnome-control-center sound", "gnome-control-center universal-access"}},
    };
    for (const auto& [desktop, expected] : desktops) {
        started.clear();
        LinuxWorkspace session = workspace(desktop);
        EXPECT_EQ(session.openSettingsPage(Page::microphone), std::nullopt);
        EXPECT_EQ(session.openSettingsPage(Page::accessibility), std::nullopt);
        EXPECT_EQ(started, expected) << desktop;
    }
}

TEST_F(LinuxWorkspaceTest, OtherDesktopsFallBackToAnyToolThere) {
    install("systemsettings");
    install("pavucontrol");
    LinuxWorkspace xfce = workspace("XFCE");
    xfce.openSettingsPage(Page::microphone);
    EXPECT_EQ(started, QStringList{"systemsettings kcm_pulseaudio"});
    QFile::remove(tools.filePath("systemsettings"));
    xfce.openSettingsPage(Page::microphone);
    EXPECT_EQ(started.last(), "pavucontrol --tab=4");
}

TEST_F(LinuxWorkspaceTest, NoToolNamesTheOneToInstall) {
    LinuxWorkspace bare = workspace("");
    const std::optional<QString> sound = bare.openSettingsPage(Page::microphone);
    ASSERT_TRUE(sound);
    EXPECT_TRUE(sound->contains("Install pavucontrol")) << sound->toStdString();
    const std::optional<QString> access = bare.openSettingsPage(Page::accessibility);
    ASSERT_TRUE(access);
    EXPECT_TRUE(access->contains("Install xfce4-settings")) << access->toStdString();
    EXPECT_FALSE(bare.openUrl(QUrl("https://example.com")));
    EXPECT_TRUE(started.isEmpty());

    // The tool it names is one it opens once installed.
    install("pavucontrol");
    EXPECT_EQ(bare.openSettingsPage(Page::microphone), std::nullopt);
    EXPECT_EQ(started, QStringList{"pavucontrol --tab=4"});
}

TEST_F(LinuxWorkspaceTest, AToolThatFailsToStartGivesWayToTheNext) {
    install("gnome-control-center");
    install("systemsettings");
    LinuxWorkspace gnome("GNOME");
    gnome.launch = [this](const QString& program, const QStringList&) {
        started.push_back(QFileInfo(program).fileName());
        return QFileInfo(program).fileName() != "gnome-control-center";
    };
    EXPECT_EQ(gnome.openSettingsPage(Page::microphone), std::nullopt);
    EXPECT_EQ(started, (QStringList{"gnome-control-center", "systemsettings"}));
}

TEST_F(LinuxWorkspaceTest, AddressesOpenThroughXdgOpen) {
    install("xdg-open");
    LinuxWorkspace any = workspace("GNOME");
    EXPECT_TRUE(any.openUrl(QUrl("https://example.com/a b")));
    EXPECT_EQ(started, QStringList{"xdg-open https://example.com/a%20b"});
}

} // namespace
} // namespace lumeno
