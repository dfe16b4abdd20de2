#pragma once

#include "platform/Accessibility.h"
#include "platform/Workspace.h"
#include "screen/FocusSnapshot.h"

#include <QCoroTask>
#include <QSet>

namespace lumeno {

// Reads which application is in front and what its focused element is.
class FocusInspector {
public:
    FocusInspector(Workspace& workspace, Accessibility& accessibility);

    // The snapshot of the front application's focused element, read on a worker thread so that a slow
    // application never stalls the main thread; none without an application in front.
    QCoro::Task<std::optional<FocusSnapshot>> snapshot() const;
    // A field's whole text, read on the accessibility port's thread; none when it has no text value.
    QCoro::Task<std::optional<QString>> value(AccessibleElement element) const;
    // Whether the application with process id `pid` is (still) the one in front. Main thread.
    bool isFront(qint64 pid) const;

    // Lower-case application ids of terminals, in the forms the desktop reports them.
    static const QSet<QString>& terminals();
    // The program never types into a terminal: known by its application id or by its element's role.
    static bool isTerminal(const FocusSnapshot& snapshot);
    static bool isPasswordField(const FocusSnapshot& snapshot);

private:
    // Blocking: everything the snapshot holds beyond the application itself.
    static FocusSnapshot read(Accessibility& accessibility, const RunningApplication& application);
    static std::optional<QString> webAddress(Accessibility& accessibility, const AccessibleElement& element);

    Workspace& workspace_;
    Accessibility& accessibility_;
};

} // namespace lumeno
