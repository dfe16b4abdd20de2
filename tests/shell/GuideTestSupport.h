#pragma once

#include "account/AccountSession.h"
#include "account/AccountStore.h"
#include "account/ServerAPI.h"
#include "foundation/KeyboardLayout.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeHttpTransport.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakeModifierState.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/fake/FakeSpeechEngine.h"
#include "support/Clock.h"
#include "support/ManualScheduler.h"
#include "testsupport/Screenshots.h"
#include "ui/FrameTicker.h"
#include "voice/SpeechCapture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace lumeno::testing {

// Manual time, the fake desktop's keyboard and speech, settings in memory and an account store on the
// scriptable server, in a fresh support folder.
class GuideFixture : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    AnimationClock animation{scheduler, clock};
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    FakeKeyboardLayoutSource layoutSource;
    KeyboardLayout layout{layoutSource};
    FakeGlobalHotkeys keyboard;
    FakeModifierState modifiers{keyboard};
    FakeAudioInput audio;
    FakeSpeechEngine speechEngine;
    SpeechCapture speech{audio, speechEngine};
    std::shared_ptr<FakeHttpTransport> transport = std::make_shared<FakeHttpTransport>();
    QTemporaryDir folder;

    std::unique_ptr<AccountStore> makeAccount(bool withServer = true) {
        auto server = withServer ? std::make_shared<ServerAPI>(QUrl("https://api.lumeno.test"), transport, scheduler)
                                 : nullptr;
        return std::make_unique<AccountStore>(folder.path(), std::move(server), clock, QStringLiteral("ada-laptop"));
    }

    // An account store that finds a session from an earlier run.
    std::unique_ptr<AccountStore> signedInAccount(const QString& name = QStringLiteral("Ada Park")) {
        AccountSession session{QStringLiteral("tok-Secret123"), {"u1", "ada@example.com", name}, std::nullopt};
        QFile file(folder.filePath("session.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(session.encoded());
        file.close();
        return makeAccount();
    }

    static QByteArray signInAnswer() {
        return QJsonDocument(QJsonObject{{"token", "tok-Fresh456"},
                                         {"user", QJsonObject{{"id", "u1"},
                                                              {"email", "ada@example.com"},
                                                              {"name", "Ada Park"}}}})
            .toJson(QJsonDocument::Compact);
    }

    // Lets finished server answers and language look-ups reach the views.
    void settle() {
        for (int turn = 0; turn < 4; ++turn) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            scheduler.runDue();
        }
    }

    // How far apart two pictures are over their common top-left area: the mean difference per colour
    // channel, 0 to 255.
    static double meanDifference(const QImage& a, const QImage& b) {
        const QImage left = a.convertToFormat(QImage::Format_RGB32), right = b.convertToFormat(QImage::Format_RGB32);
        double sum = 0;
        for (int y = 0; y < std::min(left.height(), right.height()); ++y) {
            for (int x = 0; x < std::min(left.width(), right.width()); ++x) {
                const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
        }
        const QSize common = left.size().boundedTo(right.size());
        return sum / (3.0 * std::max(1, common.width() * common.height()));
    }

    static void shoot(QWidget& widget, const QString& name) {
        widget.ensurePolished();
        screenshots::save(screenshots::onDesktop(widget), name);
    }
};

} // namespace lumeno::testing
