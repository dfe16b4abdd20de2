#pragma once

#include "platform/PasteboardContents.h"
#include "platform/linux/WorkerThread.h"

#include <QByteArray>
#include <QCoroTask>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>

namespace lumeno {

// Reads what another application holds on the X clipboard without holding the main thread: the selection
// protocol runs on a thread of its own, over a connection of its own, and every answer the owner owes is
// waited for a bounded time. An owner that has stopped responding (a frozen application) makes the read
// end as unanswered; what it holds stays with it.
class X11SelectionReader {
public:
    // How long the owner is given for each answer.
    static constexpr int answerMs = 1000;

    struct Transfer {
        bool answered = true;
        QMap<QString, QByteArray> forms; // by target name; empty when nobody holds the clipboard
    };
    // Picks, from the target names the owner offers, the ones to fetch.
    using Choice = std::function<QStringList(const QStringList& offered)>;

    X11SelectionReader();
    // Going, it ends the read under way at once, as unanswered, and drops the rest: a quit never waits for
    // an owner that is slow to answer.
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    QCoro::Task<Transfer> read(Choice choice);

private:
    class Session;

    WorkerThread thread_;
    std::shared_ptr<Session> session_; // used on the reading thread only
};

} // namespace lumeno
