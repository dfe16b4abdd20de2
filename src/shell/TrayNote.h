#pragma once

#include "support/Scheduler.h"

#include <QWidget>
#include <optional>

class QLabel;

namespace lumeno {

// A note that points at the tray icon for a while, as a tray's balloon does, for an icon Qt does not draw
// itself: a click on it is the user's answer (and puts it away); left alone it goes after a while.
class TrayNote : public QWidget {
    Q_OBJECT
public:
    static constexpr double shownSeconds = 10;

    explicit TrayNote(Scheduler& scheduler);
    ~TrayNote() override;

    // Shows `title` and `message` under (or above, at the foot of the screen) the icon at `icon`.
    void show(const QString& title, const QString& message, const QRect& icon);
    // Puts the note away before its time.
    void dismiss();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Scheduler& scheduler_;
    QLabel* title_;
    QLabel* message_;
    std::optional<Scheduler::TimerId> hide_;
};

} // namespace lumeno
