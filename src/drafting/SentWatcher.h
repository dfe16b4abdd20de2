#pragma once

#include "platform/AccessibleElement.h"
#include "support/Scheduler.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace lumeno {

class Accessibility;
class Clock;

// Learns how the user writes from what they really send. After a draft goes into a field it reads that
// field once a second; when the field empties or goes away (the message was sent) and the user had changed
// the draft first, the last text they had is handed to `onLearn`. An unedited draft teaches nothing: it is
// the model's writing, not the user's.
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
    // Checks the field once more.
    void tick();
    // Ends watching: timer cancelled, element and texts forgotten.
    void stop();

    bool isWatching() const { return element_.has_value(); }

private:
    // The part of the field's text the user is writing: the field without the text that stood around the
    // draft when it went in (an e-mail body keeps the quoted original under the reply).
    QString ownPart(const QString& value) const;
    bool isRelatedToDraft(const QString& text) const;
    void finish(bool sent);

    Accessibility& accessibility_;
    Scheduler& scheduler_;
    const Clock& clock_;
    std::optional<AccessibleElement> element_;
    QString draft_;
    QString before_; // field text before the draft when it went in
    QString after_;  // and after it
    std::optional<QString> lastValue_;
    QDateTime started_;
    std::optional<Scheduler::TimerId> timer_;
};

} // namespace lumeno
