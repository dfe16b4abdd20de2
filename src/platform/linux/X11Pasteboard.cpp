#include "platform/linux/X11Pasteboard.h"

#include "platform/linux/ClipboardMime.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"
#include "support/Log.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lumeno {

// Sees the selection requests other clients send Qt's clipboard window, before Qt answers them.
class X11Pasteboard::SelectionRequests final : public QAbstractNativeEventFilter {
public:
    SelectionRequests(XcbConnection& x, std::function<void(quint32)> dataRequested)
        : clipboard_(x.atom("CLIPBOARD")), targets_(x.atom("TARGETS")), timestamp_(x.atom("TIMESTAMP")),
          dataRequested_(std::move(dataRequested)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~SelectionRequests() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
            return false;
        const auto* request = static_cast<const xcb_selection_request_event_t*>(message);
        // Asking which forms there are, or since when, is not reading the text.
        if (request->selection == clipboard_ && request->target != targets_ && request->target != timestamp_)
            dataRequested_(request->requestor);
        return false;
    }

private:
    xcb_atom_t clipboard_, targets_, timestamp_;
    std::function<void(quint32)> dataRequested_;
};

X11Pasteboard::X11Pasteboard(Scheduler& scheduler, FrontmostProcess frontmostProcess,
                             std::shared_ptr<XcbConnection> lookups)
    : clipboard_(*QGuiApplication::clipboard()), frontmostProcess_(std::move(frontmostProcess)),
      lookups_(std::move(lookups)), restore_(scheduler) {
    connect(&clipboard_, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            clipboardChanged();
    });
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    selections_ = std::make_unique<X11SelectionReader>();
    if (lookups_)
        requests_ = std::make_unique<SelectionRequests>(*lookups_, [this](quint32 window) { requested(window); });
}

X11Pasteboard::~X11Pasteboard() = default;

QCoro::Task<Pasteboard::Reading> X11Pasteboard::read(PasteboardForms forms) {
    // What the program put there itself is at hand; only another owner is asked, off the main thread.
    if (!selections_ || clipboard_.ownsClipboard()) {
        const QMimeData* data = clipboard_.mimeData(QClipboard::Clipboard);
        co_return Reading{data ? ClipboardMime::read(*data, forms) : std::nullopt, false};
    }
    QCoro::Task<X11SelectionReader::Transfer> reading =
        selections_->read([forms](const QStringList& offered) { return ClipboardMime::wanted(offered, forms); });
    const X11SelectionReader::Transfer transfer = co_await reading;
    if (!transfer.answered)
        Log::insert.error("The application holding the clipboard didn't hand it over");
    co_return transfer.answered ? Reading{ClipboardMime::contents(transfer.forms), false} : Reading{std::nullopt, true};
}

bool X11Pasteboard::write(const PasteboardContents& contents) {
    ++changeCount_;
    if (contents.transient) {
        const bool written = apply(contents);
        if (written)
            restore_.draftWritten();
        else
            restore_.cancel();
        return written;
    }
    if (!restore_.isWaiting())
        return apply(contents);
    restore_.restoreWhenFetched([this, contents] {
        if (!apply(contents))
            Log::insert.error("Lumeno couldn't put the earlier clipboard back");
    });
    return true;
}

bool X11Pasteboard::apply(const PasteboardContents& contents) {
    applying_ = true;
    QMimeData* data = contents.isEmpty() ? nullptr : ClipboardMime::make(contents).release();
    if (data)
        clipboard_.setMimeData(data, QClipboard::Clipboard); // Qt owns it from here on
    else
        clipboard_.clear(QClipboard::Clipboard);
    applying_ = false;
    // When another client kept the selection, Qt hands out that client's data instead of ours.
    return !data || clipboard_.mimeData(QClipboard::Clipboard) == data;
}

void X11Pasteboard::clipboardChanged() {
    if (applying_)
        return;
    ++changeCount_;
    restore_.cancel(); // someone copied: that is what stays
}

void X11Pasteboard::requested(quint32 requestorWindow) {
    if (!restore_.awaitsFetch())
        return;
    const std::optional<qint64> requestor = X11WindowInfo::processId(*lookups_, requestorWindow);
    const std::optional<qint64> front = frontmostProcess_();
    if (requestor && requestor == front) {
        restore_.fetchedByTarget();
        return;
    }
    Log::insert.info("The draft was read by process %{public}ld, not by the application in front (%{public}ld)",
                     {requestor.value_or(0), front.value_or(0)});
}

} // namespace lumeno
