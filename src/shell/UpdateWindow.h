#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class QUrl;

namespace lumeno {

class SoftwareUpdate;

// The updater's one window: it follows the update's phase, from checking, up to date or the offer with
// its release notes, through the download and the check of what came, to "Install and Relaunch", and says
// what went wrong when something does. Built once and reused.
class UpdateWindow : public QWidget {
    Q_OBJECT
public:
    explicit UpdateWindow(SoftwareUpdate& update, QWidget* parent = nullptr);

    // Brings the window forward in its current state.
    void present();

private:
    void refresh();
    void showProgress(qint64 received, qint64 total);
    void setButtons(const QString& secondary, const QString& cancel, const QString& primary);
    void secondaryClicked();
    void cancelClicked();
    void primaryClicked();
    void openNotesLink(const QUrl& url);

    SoftwareUpdate& update_;
    QLabel* title_;
    QLabel* detail_;
    QLabel* notesHeading_;
    QTextBrowser* notes_;
    QProgressBar* progress_;
    QLabel* progressText_;
    QPushButton* secondary_; // left: Skip This Version
    QPushButton* cancel_;    // Remind Me Later, Cancel
    QPushButton* primary_;   // Install Update, Install and Relaunch, OK
};

} // namespace lumeno
