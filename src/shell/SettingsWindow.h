#pragma once

#include "foundation/SettingsTab.h"

#include <QWidget>
#include <functional>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

namespace lumeno {

// The settings window: a toolbar of the tabs, in their fixed order, over the selected tab's page. The window
// takes each tab's own size and its title, so a short tab is not padded out to the tallest one. The short
// forms (General, More) are no taller than their controls need on this desktop, and follow them as rows
// come and go.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the page of a tab; called once per tab, when the window is built.
    using PageFactory = std::function<QWidget*(SettingsTab)>;

    explicit SettingsWindow(const PageFactory& page, QWidget* parent = nullptr);

    static QString title(SettingsTab tab);
    static QString symbol(SettingsTab tab);
    // The tab's area at most; a short form's height is its page's.
    static QSize contentSize(SettingsTab tab);

    SettingsTab currentTab() const { return current_; }
    void select(SettingsTab tab);
    QWidget* page(SettingsTab tab) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* tabButton(SettingsTab tab);
    static bool fitsItsPage(SettingsTab tab);
    void fit();

    QButtonGroup* buttons_;
    QStackedWidget* pages_;
    QWidget* toolbar_;
    SettingsTab current_ = SettingsTab::general;
};

} // namespace lumeno
