#pragma once

#include "platform/AccessibleElement.h"
#include "support/Scheduler.h"

#include <QCoroTask>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace lumeno {

class Accessibility;
class Clock;

// Learns how the user writes from what they really send. After a draft goes into a field it reads that
// field once a second; when the field empties or goes away (the message was sent) and the user had changed
// the draft first, the last text they had is handed to `onLearn`. An unedited draft teaches nothing: it is
// the model's writing, not the user's.
//
// The field is read off the main thread, one read at a time: an application that stopped answering costs
// the watcher its ticks, never the event loop its turn.
class SentWatcher {
public:
    static constexpr double tickSeconds = 1.0;
    // Long enough to finish an e-mail, short enough not to mistake a later message for this one.
    static constexpr double giveUpSeconds = 15 * 60;

    // All three must outlive the watcher.
    SentWatcher(Accessibility& accessibility, Scheduler& scheduler, const Clock& clock);
    ~SentWatcher();
    SentWatcher(const SentWatcher&) = delete;
    SentWatcher& operator=(const SentWatcher&) = delete;

    // The text the user really sent. Does nothing until installed.
    std::function<void(const QString&)> onLearn = [](const QString&) {};
    // Whether learning is still on when the message goes out (the user may switch it off meanwhile).
    std::function<bool()> isLearning = [] { return true; };

    // Starts watching `element`, which has just received `draft`; any earlier watch ends.
    void watch(const AccessibleElement& element, const QString& draft);
    // Checks the field once more (unless the last check is still waiting for the application).
    void tick();
    // Ends watching after one last look at the field, which still catches a message just sent (a new
    // dictation begins right after the user sent the last one).
    void conclude();
    // Ends watching: timer cancelled, element and texts forgotten.
    void stop();

    bool isWatching() const { return watch_ != nullptr; }

private:
    // One draft watched: shared with the reads still on their way, which find it ended when it is.
    struct Watch {
        AccessibleElement element;
        QString draft;
        QString before; // field text before the draft when it went in
        QString after;  // and after it
        std::optional<QString> lastValue;
        QDateTime started;
        bool placed = false; // the first read found where the draft went
        bool reading = false;
        bool concluding = false; // the next look is the last
        bool ended = false;
    };

    // The field's value for `watch`, read off the main thread; none when the watch or the watcher ended
    // meanwhile.
    QCoro::Task<std::optional<std::optional<QString>>> readField(std::shared_ptr<Watch> watch);
    QCoro::Task<> place(std::shared_ptr<Watch> watch);
    QCoro::Task<> check(std::shared_ptr<Watch> watch);
    // What the field's `value` says of the watch: sent, another message, or the user still writing.
    void look(const std::shared_ptr<Watch>& watch, const std::optional<QString>& value);
    void finish(const std::shared_ptr<Watch>& watch, bool sent);
    void end(const std::shared_ptr<Watch>& watch);
    // Forgets the current watch and its timer; the watch itself may still take a last look.
    void detach();

    Accessibility& accessibility_;
    Scheduler& scheduler_;
    const Clock& clock_;
    std::shared_ptr<Watch> watch_;
    std::optional<Scheduler::TimerId> timer_;
    // Reads still on their way see through it that the watcher is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace lumeno
