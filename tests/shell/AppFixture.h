#pragma once

#include "ShellFixture.h"

#include "account/AccountSession.h"
#include "app/AppModel.h"
#include "app/AppServices.h"
#include "platform/fake/FakePlatform.h"
#include "shell/Shell.h"
#include "shell/WindowManager.h"

#include <QFile>
#include <QTemporaryDir>

namespace lumeno {

// Every service of the program over the fake desktop and manual time, with the shell on top (never started:
// no tray icon, no updater). The user is signed out with no permission until a test says otherwise.
class AppFixture : public ::testing::Test {
protected:
    ~AppFixture() override {
        shell.reset();
        model.reset();
    }

    // (Re)builds the services, as a new run would.
    void build() {
        shell.reset();
        model.reset();
        model = std::make_unique<AppModel>(std::make_unique<AppServices>(AppServices::Environment{
            platform, clock, scheduler, dir.path(), nullptr, QStringLiteral("Test Machine")}));
        shell = std::make_unique<Shell>(*model, [] { return std::unique_ptr<Updater>(); }, false);
        app = &model->services();
        windows = &shell->windows();
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
    std::unique_ptr<AppModel> model;
    std::unique_ptr<Shell> shell;
    AppServices* app = nullptr;
    WindowManager* windows = nullptr;
};

} // namespace lumeno
