#pragma once

#include "ShellFixture.h"

#include "account/AccountSession.h"
#include "app/AppServices.h"
#include "platform/fake/FakePlatform.h"
#include "shell/WindowManager.h"

#include <QFile>
#include <QTemporaryDir>

namespace lumeno {

// Every service of the program over the fake desktop and manual time, with the window manager on top.
// The user is signed out with no permission until a test says otherwise.
class AppFixture : public ::testing::Test {
protected:
    ~AppFixture() override {
        windows.reset();
        app.reset();
    }

    // (Re)builds the services, as a new run would.
    void build() {
        windows.reset();
        app.reset();
        app = std::make_unique<AppServices>(
            AppServices::Environment{platform, clock, scheduler, dir.path(), nullptr, QStringLiteral("Test Machine")});
        windows = std::make_unique<WindowManager>(*app);
    }
    void signIn(const QString& name) {
        AccountSession session;
        session.token = QStringLiteral("token-1");
        session.user = {QStringLiteral("u1"), QStringLiteral("ana@example.com"), name};
        QFile file(dir.filePath(QStringLiteral("session.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(session.encoded());
        file.close();
        build();
    }

    ManualClock clock;
    ManualScheduler scheduler{clock};
    QTemporaryDir dir;
    Platform platform = makeFakePlatform();
    std::unique_ptr<AppServices> app;
    std::unique_ptr<WindowManager> windows;
};

} // namespace lumeno
