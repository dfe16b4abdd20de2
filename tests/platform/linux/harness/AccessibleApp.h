#pragma once

#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// An application the accessibility tests read and write: one of our targets (target/) or a browser, run
// on the test desktop with the accessibility bus in its environment and stopped by its pid when the test
// is over. A target reports on standard output, one JSON object a line:
//   {"event": "ready"}                        its window is shown and has the focus
//   {"event": "text", "field": "…", "text": "…"}   a field's text changed
class AccessibleApp {
public:
    AccessibleApp(const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& extra = QProcessEnvironment());
    ~AccessibleApp();
    AccessibleApp(const AccessibleApp&) = delete;
    AccessibleApp& operator=(const AccessibleApp&) = delete;

    bool isRunning() const { return process_.state() == QProcess::Running; }
    qint64 pid() const { return process_.processId(); }

    // Waits until the target has reported itself ready and holds the keyboard focus.
    bool waitUntilReady();
    // Waits until the field reports `text`; whether it did.
    bool waitForText(const QString& field, const QString& text);
    // What the field last reported; empty when it reported nothing.
    QString text(const QString& field) const { return texts_.value(field); }

    // The application stops answering (SIGSTOP), as a hung one does, and comes back (SIGCONT).
    void freeze();
    void thaw();

private:
    void readReports();
    bool hasKeyboardFocus(XcbConnection& x) const;

    QProcess process_;
    QByteArray pending_;
    bool ready_ = false;
    QHash<QString, QString> texts_;
};

} // namespace lumeno::desktop
