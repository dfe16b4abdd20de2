#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace lumeno::testing {

// A command line tool run to its end, as a test runs one: its status and what it wrote.
struct CommandRun {
    int status = -1; // -1: it did not start, crashed or did not finish in time
    QString output;  // standard output
    QString errors;  // standard error, or why it did not run
    // Both streams, for a failure message.
    std::string log() const { return (output + errors).toStdString(); }
};

// Bounded, so a hung tool fails the test instead of stopping it.
inline CommandRun runCommand(const QString& program, const QStringList& arguments,
                             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                             int timeoutMs = 120000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("%1 did not run to its end: %2\n").arg(program, process.errorString())};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace lumeno::testing
