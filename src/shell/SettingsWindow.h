#pragma once

#include "foundation/SettingsTab.h"

#include <QWidget>
#include <functional>
#include <vector>

class QButtonGroup;
class QMenuBar;
class QScrollArea;
class QStackedWidget;
class QToolButton;

namespace lumeno {

class ScreenInfo;

// The settings window: a toolbar of the tabs, in their fixed order, over the selected tab's page. The window
// takes each tab's own size and names it in its title, so a short tab is not padded out to the tallest one. The short
// forms (General, More) are no taller than their controls need on this desktop, and follow them as rows
// come and go. The window stays on its screen: a tab that would not fit is cut to the screen's height and
// its page scrolls, and a window that grows past the screen's edge moves back onto it.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // Builds the page of a tab; called once per tab, when the window is built.
    using PageFactory = std::function<QWidget*(SettingsTab)>;

    SettingsWindow(const PageFactory& page, const ScreenInfo& screens, QWidget* parent = nullptr);

    static QString title(SettingsTab tab);
    static QString windowTitleFor(SettingsTab tab);
    static QString symbol(SettingsTab tab);
    // The tab's area at most; a short form's height is its page's.
    static QSize contentSize(SettingsTab tab);

    SettingsTab currentTab() const { return current_; }
    void select(SettingsTab tab);
    QWidget* page(SettingsTab tab) const;
    // A menu bar above the tabs, while it is shown; the window grows by its height.
    void setMenuBar(QMenuBar* bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* tabButton(SettingsTab tab);
    static bool fitsItsPage(SettingsTab tab);
    QScrollArea* scrolling(QWidget* content);
    void fit();

    QButtonGroup* buttons_;
    const ScreenInfo& screens_;
    QStackedWidget* pages_;
    std::vector<QWidget*> contents_;
    QWidget* toolbar_;
    QMenuBar* menuBar_ = nullptr;
    SettingsTab current_ = SettingsTab::general;
};

} // namespace lumeno
