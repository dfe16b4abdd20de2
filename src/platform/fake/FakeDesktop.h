#pragma once

#include "platform/AXNames.h"
#include "platform/AccessibleElement.h"
#include "platform/KeySynth.h"
#include "platform/PasteboardContents.h"
#include "support/Clock.h"
#include "support/TextRange.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace lumeno {

class Accessibility;
class FakeAccessibility;
class FakeKeySynth;
class FakePasteboard;
class FakeWorkspace;
class Pasteboard;

// A small desktop that tests script: applications with windows, accessibility elements with text and
// selection, a clipboard with a change count, and keys that act on the focused field the way a text field
// does. Its ports (accessibility(), pasteboard(), keys()) are what the program is given instead of the
// real desktop; the workspace passed in follows the focus.
//
// Thread-safe: the program reads the accessibility tree from worker threads while the test scripts it.
class FakeDesktop {
public:
    using ElementId = int;

    enum class PasteHandling {
        inserts,         // a paste replaces the selection with the clipboard's plain text
        ignores,         // a paste does nothing (a field that swallows synthetic keys)
        dropsLineBreaks, // line breaks arrive as spaces (a single-line editor)
        // A word processor's paragraph: the first line goes in at the caret, and each further one becomes
        // a paragraph after it (the last with the text that followed the caret), which takes the focus.
        splitsParagraphs,
    };

    struct Application {
        qint64 pid = 0;
        QString applicationId;
        QString name;
        QString toolkit;            // e.g. "Chromium", "GTK"
        double messagingDelay = 0;  // for every element that has none of its own
    };

    struct Element {
        QString role = AXRole::group;
        QString subrole;
        QString title;
        QString description;
        std::optional<QString> value;
        TextRange selection;        // the caret when its length is 0
        bool editable = false;
        bool exposesValue = true;   // false: the application keeps the field's text to itself
        std::optional<QString> url; // a web area's address
        bool hidden = false;        // out of the user's sight, with all it holds
        // Seconds each message to the element takes (simulated on the clock when one was given); a delay
        // longer than the messaging timeout makes the message time out.
        std::optional<double> messagingDelay;
        bool failing = false;       // every message to the element fails
        PasteHandling pasteHandling = PasteHandling::inserts;

        static Element text(const QString& text);
        static Element field(const QString& role, const QString& value, const QString& description = {});
    };

    struct Window {
        ElementId window = 0;
        ElementId content = 0; // where the window's elements go: the web area of a page, else the window
    };

    struct SentMessage {
        ElementId field = 0;
        QString text;
        bool operator==(const SentMessage&) const = default;
    };

    // With a clock, slow elements make simulated time pass during the messages they answer.
    explicit FakeDesktop(FakeWorkspace& workspace, ManualClock* clock = nullptr);
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    // Building the desktop.
    void addApplication(const Application& application);
    Window addWindow(qint64 pid, const QString& title, const std::optional<QString>& webAddress = std::nullopt);
    ElementId add(ElementId parent, const Element& element);
    ElementId addText(ElementId parent, const QString& text) { return add(parent, Element::text(text)); }
    void change(ElementId id, const std::function<void(Element&)>& edit);
    // Removes the element and everything under it; handles to them stop answering.
    void remove(ElementId id);

    // The user moving around: focus brings the element's application and window to the front.
    void focus(ElementId id);
    void bringToFront(qint64 pid); // in front with nothing focused
    void clearFront();             // no application in front
    // The user selects text in a field.
    void select(ElementId id, TextRange range);
    // The user copies something in another application.
    void userCopies(const PasteboardContents& contents);

    // Scripted failures of the desktop itself.
    void setKeysFail(bool fail);
    void setPasteboardWritesFail(bool fail);
    // The application holding the clipboard stops answering: reads of it go unanswered.
    void setClipboardOwnerFrozen(bool frozen);

    // What the test looks at.
    Element element(ElementId id) const;
    QString valueOf(ElementId id) const;
    std::optional<ElementId> focusedElement() const;
    std::optional<PasteboardContents> clipboard() const;
    qint64 changeCount() const;
    std::vector<KeySynth::Key> postedKeys() const;
    std::vector<SentMessage> sentMessages() const;
    // The handle the program gets for an element, and back.
    AccessibleElement handle(ElementId id) const;
    std::optional<ElementId> idOf(const AccessibleElement& handle) const;

    // The ports.
    Accessibility& accessibility();
    Pasteboard& pasteboard();
    KeySynth& keys();

private:
    friend class FakeAccessibility;
    friend class FakeKeySynth;
    friend class FakePasteboard;

    struct Node {
        Element element;
        qint64 pid = 0;
        std::optional<ElementId> parent;
        std::vector<ElementId> children;
        std::vector<std::pair<QString, TextRange>> undo; // earlier (value, selection), newest last
    };

    struct State {
        std::map<qint64, Application> applications;
        std::map<qint64, ElementId> applicationRoots;
        std::map<ElementId, Node> nodes;
        ElementId nextId = 1;
        std::optional<ElementId> focused;
        std::optional<PasteboardContents> clipboard;
        qint64 changeCount = 0;
        double messagingTimeout = 1.0;
        bool keysFail = false;
        bool pasteboardWritesFail = false;
        bool clipboardOwnerFrozen = false; // reads of the clipboard go unanswered
        std::vector<KeySynth::Key> posted;
        std::vector<SentMessage> sent;

        Node* node(ElementId id);
        // The element a test names; a wrong id is a mistake in the test and throws.
        Node& existing(ElementId id);
        const Node& existing(ElementId id) const;
        // The title of the element's window (of an application's first window); empty without one.
        QString windowTitle(ElementId id) const;
        void writeClipboard(const PasteboardContents& contents);
        // Removes the element and everything under it (its parent keeps listing it).
        void erase(ElementId id);
        // Replaces the selection of an editable element as typing would, keeping an undo step.
        void replaceSelection(Node& node, const QString& text);
        // Pastes over the selection of a paragraph that splits at line breaks (splitsParagraphs).
        void pasteParagraphs(ElementId id, const QString& text);
    };

    template <class Function>
    auto withState(Function&& function) {
        std::lock_guard lock(mutex_);
        return function(state_);
    }
    template <class Function>
    auto withState(Function&& function) const {
        std::lock_guard lock(mutex_);
        return function(std::as_const(state_));
    }

    // The workspace shows the element's application in front, titled after the element's window.
    void showInFront(ElementId id);

    FakeWorkspace& workspace_;
    mutable std::mutex mutex_;
    State state_;
    std::unique_ptr<FakeAccessibility> accessibility_;
    std::unique_ptr<FakePasteboard> pasteboard_;
    std::unique_ptr<FakeKeySynth> keys_;
};

} // namespace lumeno
