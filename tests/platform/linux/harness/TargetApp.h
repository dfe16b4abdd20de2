#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumeno::desktop {

// The test's stand-in for the user's application (target/DesktopTarget.cpp), run on the test desktop and
// stopped by its pid when the test ends. What it reports arrives while the event loop runs.
class TargetApp {
public:
    struct Options {
        QString title = QStringLiteral("Reply");
        std::optional<QString> copy = std::nullopt; // put on the clipboard at start
        bool clipboardManager = false;
        // Acts on Alt pressed and released alone as menu bars do (Firefox, Thunderbird, KDE applications):
        // the focus leaves the field for the menu.
        bool menuOnLoneAlt = false;
        bool ignoresSecretMark = false; // a clipboard manager that keeps marked copies too
    };
    struct Key {
        quint32 code = 0;
        bool down = false;
        bool operator==(const Key&) const = default;
    };

    explicit TargetApp(const Options& options);
    ~TargetApp();

    // Waits until its window is shown and active (a clipboard manager: until it runs).
    bool waitUntilReady();
    bool waitForText(const QString& text);
    bool waitForFetch(const QString& text);
    bool waitUntilFetchCount(qsizetype count);
    bool waitForOffer(const QString& text);

    qint64 pid() const { return process_.processId(); }
    quint32 window() const { return window_; }
    const QString& text() const { return text_; }
    const std::vector<Key>& keys() const { return keys_; }
    const QStringList& fetched() const { return fetched_; }
    // How often a lone Alt opened the menu.
    int menuOpenings() const { return menuOpenings_; }
    // A clipboard manager's history, oldest first.
    const QStringList& kept() const { return kept_; }

private:
    void readReports();

    QProcess process_;
    QByteArray pending_;
    bool ready_ = false;
    quint32 window_ = 0;
    QString text_;
    std::vector<Key> keys_;
    QStringList fetched_;
    int menuOpenings_ = 0;
    QStringList kept_;
    QStringList offered_;
};

} // namespace lumeno::desktop
