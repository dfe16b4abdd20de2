#pragma once

#include <QIcon>
#include <QWidget>
#include <memory>

namespace lumeno {

class Scheduler;
class TrayNote;
class TrayWatch;

// The icon as an XEmbed tray shows it: a small window of ours that the tray manager takes into its panel,
// and whose click opens the program's own menu. Qt's tray icon settles on one kind of tray for the whole run,
// so it serves only status-notifier hosts, and this one every tray manager, however often they change.
class EmbeddedTrayIcon : public QWidget {
    Q_OBJECT
public:
    EmbeddedTrayIcon(TrayWatch& trays, Scheduler& scheduler);
    ~EmbeddedTrayIcon() override;

    // Hands the icon to the tray manager running now, taking it out of any earlier one first; false when
    // none runs.
    bool dock();
    // Takes it out of the tray.
    void withdraw();
    void setIcon(const QIcon& icon);
    // A note that points at the icon for a while, as a tray's balloon does.
    void showMessage(const QString& title, const QString& message);
    void hideMessage();

signals:
    // Pressed with any button, at `where` on the screen.
    void pressed(QPoint where);
    // The note of showMessage() was clicked.
    void messageClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TrayWatch& trays_;
    QIcon icon_;
    std::unique_ptr<TrayNote> note_;
};

} // namespace lumeno
