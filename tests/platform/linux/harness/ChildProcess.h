#pragma once

#include <QStringList>

#include <sys/types.h>

namespace lumeno::desktop {

// A program the harness started and must stop: by its pid, whatever happens to the tests. The kernel ends
// it too should the test process die first, so no server outlives a crashed run.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` (looked up on PATH) with `arguments`; `keepDescriptor` stays open in the child
    // (-1: none). False when it could not be started.
    bool start(const QString& program, const QStringList& arguments, int keepDescriptor = -1);
    // Variables ("NAME=value") the next start sets in the child on top of this process's environment.
    void setEnvironment(const QStringList& variables) { environment_ = variables; }
    // Asks it to end, waits a little, then kills it; reaps it either way.
    void stop();
    bool isRunning() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    QStringList environment_;
};

} // namespace lumeno::desktop
