#pragma once

#include <QJsonValue>
#include <QString>
#include <QTemporaryDir>

namespace lumeno::testing {
class TestServer;
}

namespace lumeno::e2e {

// A fresh home folder for one run of Lumeno, deleted afterwards: its settings, support files and runtime
// folder (where the running copy's lock lives, so two launches with one home meet each other). A new user
// starts from it empty; a returning one is made with signIn() and finishGuide(), written by the program's
// own file formats.
class LumenoHome {
public:
    LumenoHome();

    const QString& path() const { return path_; }
    QString runtimeFolder() const;
    QString configFolder() const;
    QString dataFolder() const;
    // A file of the support folder (~/.local/share/Lumeno/<name>).
    QString supportFile(const QString& name) const;

    // The account `email` is signed in, as after the mailed code: the server knows the session and
    // session.json holds it.
    void signIn(testing::TestServer& server, const QString& email, const QString& name);
    // The first-run guide was gone through: the language is chosen and setup completed.
    void finishGuide();
    void setSetting(const QString& key, const QJsonValue& value);
    // The user's own desktop entry for an application: its name, and the class its windows carry.
    void installApplication(const QString& id, const QString& name, const QString& windowClass);

private:
    QTemporaryDir folder_;
    QString path_;
};

} // namespace lumeno::e2e
