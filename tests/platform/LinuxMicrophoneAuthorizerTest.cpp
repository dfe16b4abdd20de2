#include "platform/linux/LinuxMicrophoneAuthorizer.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

QCoro::Task<> keepResult(QCoro::Task<bool> task, std::optional<bool>& result) {
    result = co_await std::move(task);
}

// A sound system the test sets up: which input is the default, and which inputs open.
class LinuxMicrophoneAuthorizerTest : public ::testing::Test {
protected:
    LinuxMicrophoneAuthorizer authorizer{{
        [this] { return defaultInput; },
        [this](const QString& id) {
            opened.push_back(id);
            return !refusing.contains(id);
        },
    }};

    std::optional<bool> request() {
        std::optional<bool> granted;
        auto task = keepResult(authorizer.requestAccess(), granted);
        return granted;
    }

    std::optional<QString> defaultInput = QStringLiteral("alsa_input.usb-headset");
    QStringList refusing;
    QStringList opened;
};

TEST_F(LinuxMicrophoneAuthorizerTest, ADefaultInputThatOpensIsGranted) {
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
    EXPECT_EQ(request(), true);
    EXPECT_EQ(opened, QStringList{QStringLiteral("alsa_input.usb-headset")});
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
}

TEST_F(LinuxMicrophoneAuthorizerTest, NoInputIsDeniedWithoutOpeningAnything) {
    defaultInput.reset();
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::denied);
    EXPECT_EQ(request(), false);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LinuxMicrophoneAuthorizerTest, AnInputThatRefusesIsDeniedUntilAnotherOneIsTheDefault) {
    refusing = {QStringLiteral("alsa_input.usb-headset")};
    EXPECT_EQ(request(), false);
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::denied) << "status must not open the device again";
    EXPECT_EQ(opened.size(), 1);

    defaultInput = QStringLiteral("alsa_input.pci-analog");
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
    EXPECT_EQ(request(), true);

    // The user fixed the headset: asking again finds out.
    refusing.clear();
    defaultInput = QStringLiteral("alsa_input.usb-headset");
    EXPECT_EQ(request(), true);
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
}

TEST(LinuxMicrophoneAuthorizerRecording, ARecordingInPlaceOfTheMicrophoneNeedsNoPermission) {
    // Even a file that is not there: playing it says so by name, which "allow the microphone" would not.
    LinuxMicrophoneAuthorizer authorizer(LinuxMicrophoneAuthorizer::recording(QStringLiteral("/nowhere/speech.wav")));
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
    std::optional<bool> granted;
    auto task = keepResult(authorizer.requestAccess(), granted);
    EXPECT_EQ(granted, true);
}

} // namespace
} // namespace lumeno
