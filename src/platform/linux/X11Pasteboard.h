#pragma once

#include "platform/Pasteboard.h"
#include "platform/linux/ClipboardRestore.h"
#include "platform/linux/X11SelectionReader.h"

#include <QObject>

#include <functional>
#include <memory>

class QClipboard;

namespace lumeno {

class XcbConnection;

// The desktop's clipboard through Qt, with a change count of its own: it grows with every foreign change
// Qt reports and with every write of the program. What another application holds is read through an
// X11SelectionReader, never through Qt, whose reads wait for the owner on the main thread.
//
// After a draft (transient contents) goes on the clipboard, a write of other contents (the user's copy
// coming back) is held until the application in front has fetched the draft: a selection request is
// matched to its client's process through the X server, and fetches by anyone else (a clipboard manager
// reads every new copy at once) do not count. The held write is counted at once and dropped when someone
// else copies meanwhile.
class X11Pasteboard final : public QObject, public Pasteboard {
    Q_OBJECT
public:
    using FrontmostProcess = std::function<std::optional<qint64>()>;

    X11Pasteboard(Scheduler& scheduler, FrontmostProcess frontmostProcess, std::shared_ptr<XcbConnection> lookups);
    ~X11Pasteboard() override;

    qint64 changeCount() const override { return changeCount_; }
    QCoro::Task<Reading> read(PasteboardForms forms) override;
    bool write(const PasteboardContents& contents) override;

    // Whether a write waits for the draft to be fetched.
    bool isHoldingWrite() const { return restore_.isHoldingRestore(); }

private:
    class SelectionRequests;

    bool apply(const PasteboardContents& contents);
    void clipboardChanged();
    void requested(quint32 requestorWindow);

    QClipboard& clipboard_;
    FrontmostProcess frontmostProcess_;
    std::shared_ptr<XcbConnection> lookups_;
    ClipboardRestore restore_;
    std::unique_ptr<SelectionRequests> requests_;
    std::unique_ptr<X11SelectionReader> selections_; // none off X (the in-process clipboard of tests)
    qint64 changeCount_ = 0;
    bool applying_ = false;
};

} // namespace lumeno
