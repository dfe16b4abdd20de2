#include "platform/linux/harness/ChildProcess.h"

#include <QByteArrayList>

#include <algorithm>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumeno::desktop {

namespace {

constexpr int stopTimeoutMs = 3000;

// Waits for the process to end, at most `timeoutMs`; true when it did.
bool awaitExit(pid_t pid, int timeoutMs) {
    const int handle = int(syscall(SYS_pidfd_open, pid, 0));
    if (handle < 0)
        return false;
    pollfd descriptor{handle, POLLIN, 0};
    const bool ended = poll(&descriptor, 1, timeoutMs) > 0;
    close(handle);
    return ended;
}

} // namespace

bool ChildProcess::start(const QString& program, const QStringList& arguments, int keepDescriptor) {
    QByteArrayList storage{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        storage.append(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);
    // Built before the fork: the child may only make async-signal-safe calls.
    QByteArrayList variables;
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray entry(*variable);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        if (std::none_of(environment_.begin(), environment_.end(),
                         [&](const QString& set) { return set.toLocal8Bit().startsWith(name); }))
            variables.append(entry);
    }
    for (const QString& variable : environment_)
        variables.append(variable.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& item : variables)
        envp.push_back(item.data());
    envp.push_back(nullptr);

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) // the test process is already gone
            _exit(1);
        // Servers chatter on their output; whether they came up is checked by other means.
        if (const int nothing = open("/dev/null", O_WRONLY); nothing >= 0) {
            dup2(nothing, STDOUT_FILENO);
            dup2(nothing, STDERR_FILENO);
        }
        for (int descriptor = 3; descriptor < 1024; ++descriptor)
            if (descriptor != keepDescriptor)
                close(descriptor);
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    pid_ = pid;
    return true;
}

void ChildProcess::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    if (!awaitExit(pid_, stopTimeoutMs))
        kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

} // namespace lumeno::desktop
