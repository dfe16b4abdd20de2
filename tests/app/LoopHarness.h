#pragma once

#include "app/AppServices.h"
#include "account/ServerAPI.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeHttpTransport.h"
#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeScenes.h"
#include "platform/fake/FakeSpeechEngine.h"
#include "platform/fake/FakeSpeechSession.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/Log.h"
#include "support/ManualScheduler.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/Screenshots.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <iostream>

namespace lumeno::testing {

// The whole application below its windows, on the fake desktop and manual time: a signed-in user with
// both permissions, a server on a fake transport, and helpers that hold the key, speak and let the loop
// run until it waits for the user again.
class LoopHarness : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    QTemporaryDir dir;
    Platform platform = makeFakePlatform();
    FakeDesktop& desktop = *std::static_pointer_cast<FakeDesktop>(platform.sharedDesktop);
    FakeWorkspace& workspace = static_cast<FakeWorkspace&>(*platform.workspace);
    FakeGlobalHotkeys& keyboard = static_cast<FakeGlobalHotkeys&>(*platform.globalHotkeys);
    FakeSpeechEngine& engine = static_cast<FakeSpeechEngine&>(*platform.speechEngine);
    FakeAudioInput& microphone = static_cast<FakeAudioInput&>(*platform.audioInput);
    FakeMicrophoneAuthorizer& micPermission = static_cast<FakeMicrophoneAuthorizer&>(*platform.microphone);
    FakeAccessibilityTrust& trust = static_cast<FakeAccessibilityTrust&>(*platform.accessibilityTrust);
    std::shared_ptr<FakeHttpTransport> server = std::make_shared<FakeHttpTransport>();
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink = Log::setSink(log);
    std::unique_ptr<AppServices> app;
    quint64 press = 0;

    LoopHarness() {
        micPermission.setStatus(AuthorizationStatus::granted);
        trust.setTrusted(true);
        writeSession();
        build();
    }
    ~LoopHarness() override {
        if (HasFailure())
            for (const QString& line : log->lines())
                std::cerr << "  log: " << line.toStdString() << "\n";
        app.reset();
        // Widgets the overlay let go of are deleted while the scheduler they stop their tickers on lives.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Log::setSink(previousSink);
    }

    void build() {
        app.reset();
        auto api = std::make_shared<ServerAPI>(QUrl(QStringLiteral("https://api.lumeno.test")), server, scheduler);
        app = std::make_unique<AppServices>(
            AppServices::Environment{platform, clock, scheduler, dir.path(), api, QStringLiteral("Test Machine")});
        app->style.systemUserName = [] { return QStringLiteral("Bob Stone"); };
        app->connectDrafting();
    }

    void writeSession() {
        AccountSession session;
        session.token = QStringLiteral("token-123");
        session.user = {QStringLiteral("u1"), QStringLiteral("bob@example.com"), QStringLiteral("Bob Stone")};
        QFile file(dir.filePath(QStringLiteral("session.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(session.encoded());
    }

    ReplyLoop& loop() { return app->loop; }
    // Whether a log line begins with `start`.
    bool logged(const QString& start) const {
        const QStringList lines = log->lines();
        return std::any_of(lines.begin(), lines.end(), [&](const QString& line) { return line.startsWith(start); });
    }
    OverlayModel& overlay() { return app->overlay.model(); }
    OverlayPhase shown() { return app->overlay.isVisible() ? overlay().phase() : OverlayPhase::hidden; }

    // The server's answer to a drafting call, with `text`.
    static HttpResult draftAnswer(const QString& text) {
        const QJsonObject body{{QStringLiteral("text"), text}, {QStringLiteral("provider"), QStringLiteral("anthropic")},
                               {QStringLiteral("model"), QStringLiteral("claude-test")}};
        return FakeHttpTransport::json(200, QJsonDocument(body).toJson());
    }
    // The server answers the next drafting call with `text`, as soon as it comes.
    void serverDrafts(const QString& text) { server->enqueue(draftAnswer(text)); }

    // Lets worker-thread reads deliver and coroutines run, without moving time.
    void settle() {
        for (int round = 0; round < 20; ++round) {
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
            scheduler.runDue();
        }
    }
    // Moves manual time on in small steps, letting everything that falls due run.
    void advance(double seconds) {
        const double step = 0.05;
        for (double passed = 0; passed < seconds - 1e-9; passed += step) {
            scheduler.advance(std::min(step, seconds - passed));
            settle();
        }
        settle();
    }

    // `field` takes the focus but swallows every paste, so a draft for it stays pending.
    void focusFieldThatIgnoresPastes(FakeDesktop::ElementId field) {
        desktop.change(field, [](FakeDesktop::Element& element) {
            element.pasteHandling = FakeDesktop::PasteHandling::ignores;
        });
        desktop.focus(field);
    }

    // Moves time on until the overlay shows `phase` (at most five seconds), so a test can time what follows.
    void advanceUntilShown(OverlayPhase phase) {
        for (int step = 0; step < 100 && shown() != phase; ++step)
            advance(0.05);
        ASSERT_EQ(shown(), phase);
    }

    // The hot-key gestures, as the hot-key service reports them.
    void holdBegins(bool edit = false) {
        ++press;
        loop().handle(HotkeyEvent::down(press));
        loop().handle(HotkeyEvent::holdBegan(press, edit));
        settle();
    }
    void release(double heldFor = 2.0, bool edit = false) {
        loop().handle(HotkeyEvent::up(press, heldFor, edit));
        settle();
    }
    void tap() {
        ++press;
        loop().handle(HotkeyEvent::down(press));
        loop().handle(HotkeyEvent::up(press, 0.1, false));
        settle();
    }
    void escape() {
        loop().handle(HotkeyEvent::escape());
        settle();
    }
    // The user speaks while listening: loud audio and the recognizer's final words.
    void say(const QString& words, float amplitude = 0.2f) {
        microphone.hear(1.5, amplitude);
        ASSERT_NE(engine.session(), nullptr);
        engine.session()->hearFinal(words);
        settle();
    }
    // Holds the key, says `words`, releases and lets the draft go in.
    void dictate(const QString& words) {
        holdBegins();
        say(words);
        release();
        advance(3);
    }

    // A picture of the visible panel named `panelName` (the capture overlay unless told) on a desktop.
    QString screenshot(const QString& name, const QString& panelName = QStringLiteral("captureOverlayPanel")) {
        QWidget* panel = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == panelName)
                panel = widget;
        if (!panel)
            return {};
        return screenshots::save(screenshots::onDesktop(*panel), name);
    }
};

} // namespace lumeno::testing
