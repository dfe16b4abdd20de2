#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <optional>

struct pa_context;
struct pa_threaded_mainloop;

namespace lumeno {

class Scheduler;

// The desktop's sound server, over the PulseAudio protocol (PipeWire's sound server speaks it too), watched
// for as long as the program runs: a server that starts after the program (as at login), or comes back
// after a restart, is found within `retrySeconds`, and its default input is followed as the user changes
// it. A thread of its own talks to the server; what it learns arrives on the main thread, with changed().
class PulseAudioServer final : public QObject {
    Q_OBJECT
public:
    static constexpr double retrySeconds = 2;

    struct Input {
        QString name;        // the server's name for it, e.g. "alsa_input.usb-mic"
        QString description; // the user's, e.g. "USB Microphone"
        bool operator==(const Input&) const = default;
    };

    explicit PulseAudioServer(Scheduler& scheduler, QObject* parent = nullptr);
    ~PulseAudioServer() override;

    bool isRunning() const { return running_.value_or(false); }
    // What the user records from: none without a server, or when its default input only listens to an
    // output (a monitor is no microphone).
    const std::optional<Input>& defaultInput() const { return input_; }

    // For the recordings made on this connection. Everything done with the context happens between
    // lock() and unlock(); the context is null while there is no server.
    void lock() const;
    void unlock() const;
    pa_context* context() const { return ready_ ? context_ : nullptr; }

signals:
    void changed();

private:
    // On the server's thread, where reading the client configuration and connecting cannot hold up the
    // event loop.
    void connectOnThread();
    void readDefaultInput();
    void tell(std::optional<Input> input);
    void tellLost();
    // On the main thread, for the connection `attempt`; what an earlier one says no longer counts.
    void connectToServer();
    void lost(quint64 attempt);
    void found(quint64 attempt, std::optional<Input> input);

    Scheduler& scheduler_;
    pa_threaded_mainloop* mainloop_;
    // Written on the server's thread, under the lock.
    pa_context* context_ = nullptr;
    bool ready_ = false;
    std::atomic<quint64> attempt_ = 0;
    // The main thread's.
    std::optional<bool> running_; // none until the first attempt ends
    bool retrying_ = false;
    std::optional<Input> input_;
};

} // namespace lumeno
