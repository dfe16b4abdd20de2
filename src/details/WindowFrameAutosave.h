#pragma once

#include <QObject>
#include <QRect>

#include <optional>

class QWidget;

namespace lumeno {

class DefaultsStore;

// Keeps a window's frame in the defaults store under a name, so the window reopens where the user left it:
// restore() puts back a saved frame that is still on a screen (and says whether it did); every later move
// or resize of the shown window is saved.
class WindowFrameAutosave : public QObject {
    Q_OBJECT
public:
    WindowFrameAutosave(QWidget& window, DefaultsStore& defaults, QString name);

    bool restore();
    std::optional<QRect> saved() const;
    QString key() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    DefaultsStore& defaults_;
    QString name_;
};

} // namespace lumeno
