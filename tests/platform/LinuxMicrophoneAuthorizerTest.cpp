#include "platform/linux/LinuxMicrophoneAuthorizer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

QCoro::Task<> keepResult(QCoro::Task<bool> task, std::optional<bool>& result) {
    result = co_await std::move(task);
}

// A sound device folder and a runtime folder the test fills, standing in for /dev/snd and $XDG_RUNTIME_DIR.
class LinuxMicrophoneAuthorizerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(devices.isValid() && runtime.isValid()); }
    static void touch(const QTemporaryDir& folder, const QString& name) {
        QDir(folder.path()).mkpath(QFileInfo(name).path());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    LinuxMicrophoneAuthorizer authorizer() const { return {devices.path(), runtime.path()}; }

    QTemporaryDir devices;
    QTemporaryDir runtime;
};

TEST_F(LinuxMicrophoneAuthorizerTest, NoCaptureDeviceAndNoSoundServerIsDenied) {
    touch(devices, "pcmC0D0p"); // playback only
    touch(devices, "controlC0");
    EXPECT_EQ(authorizer().status(), AuthorizationStatus::denied);
    EXPECT_EQ(LinuxMicrophoneAuthorizer(devices.path(), QString()).status(), AuthorizationStatus::denied);
    std::optional<bool> granted;
    auto task = keepResult(authorizer().requestAccess(), granted);
    EXPECT_EQ(granted, false);
}

TEST_F(LinuxMicrophoneAuthorizerTest, ACaptureDeviceGrantsIt) {
    touch(devices, "pcmC1D0c");
    EXPECT_EQ(authorizer().status(), AuthorizationStatus::granted);
    std::optional<bool> granted;
    auto task = keepResult(authorizer().requestAccess(), granted);
    EXPECT_EQ(granted, true);
}

TEST_F(LinuxMicrophoneAuthorizerTest, EitherSoundServerGrantsIt) {
    touch(runtime, "pulse/native");
    EXPECT_EQ(authorizer().status(), AuthorizationStatus::granted);
    QFile::remove(runtime.filePath("pulse/native"));
    EXPECT_EQ(authorizer().status(), AuthorizationStatus::denied);
    touch(runtime, "pipewire-0");
    EXPECT_EQ(authorizer().status(), AuthorizationStatus::granted);
}

} // namespace
} // namespace lumeno
