#pragma once

#include <QWidget>

class QScrollArea;

namespace lumeno {

class AccountStore;

// The Account tab of the settings window: sign-in while signed out; otherwise who is signed in, the name,
// the team, signing out and deleting the account.
class AccountSettingsView : public QWidget {
    Q_OBJECT
public:
    explicit AccountSettingsView(AccountStore& store, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {560, 640}; }

protected:
    // Each visit brings the account and team up to date.
    void showEvent(QShowEvent* event) override;

private:
    void showState();

    AccountStore& store_;
    QScrollArea* scroll_;
};

} // namespace lumeno
