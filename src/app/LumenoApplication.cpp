#include "app/LumenoApplication.h"

#include "support/Log.h"

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>

namespace lumeno {

namespace {

// The readable type name of the exception being handled ("std::runtime_error"), or "unknown exception"
// when the runtime cannot tell.
QString currentExceptionName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return QStringLiteral("unknown exception");
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), &std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : type->name());
}

void logUncaught(const QString& reason) {
    Log::app.fault(QStringLiteral("Uncaught exception %{public}s: %{private}s"),
                   {currentExceptionName(), reason.isEmpty() ? QStringLiteral("no reason") : reason});
}

} // namespace

LumenoApplication::LumenoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setQuitOnLastWindowClosed(false); // the program lives in the tray: closing its last window never quits
}

bool LumenoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& exception) {
        logUncaught(QString::fromUtf8(exception.what()));
    } catch (...) {
        logUncaught({});
    }
    return false; // the event counts as not handled; the program goes on
}

bool LumenoApplication::event(QEvent* event) {
    if (event->type() != QEvent::Quit)
        return QApplication::event(event);
    if (holdsQuit()) {
        // Not remembered: the user quits again once the prompt is over.
        Log::app.info(QStringLiteral("Ignored a quit during a permission prompt"));
        event->ignore();
        return true;
    }
    // A quit let through always ends the program. Qt's own handling would first close every window and
    // give up at the first one that refuses, leaving a process with its services stopped and no way back:
    // windows are not asked, they go with the process.
    prepareToQuit();
    return QCoreApplication::event(event);
}

} // namespace lumeno
