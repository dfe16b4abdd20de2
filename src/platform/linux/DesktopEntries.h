#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumeno {

// The applications the desktop knows from their .desktop files, to call a window's application by the name
// its user knows ("Thunderbird") rather than its window class ("thunderbird-default").
class DesktopEntries {
public:
    struct Entry {
        QString id;          // the file's desktop id, e.g. "org.gnome.Evolution"
        QString name;        // its Name
        QString windowClass; // its StartupWMClass; empty when it does not say
        bool operator==(const Entry&) const = default;
    };

    // Every application entry in the applications folders of the XDG data directories; where two folders
    // hold the same id, the user's own wins, as on the desktop's menus.
    static DesktopEntries installed();
    static DesktopEntries readFrom(const QStringList& folders);
    // The [Desktop Entry] of one file's text; none when it is no application or is hidden.
    static std::optional<Entry> parse(const QString& id, const QByteArray& text);

    DesktopEntries() = default;
    explicit DesktopEntries(std::vector<Entry> entries) : entries_(std::move(entries)) {}

    // The name of the application whose windows carry this WM_CLASS: the entry naming it as its
    // StartupWMClass, else the entry whose id (or the id's last part) is the class; none when none is.
    std::optional<QString> nameOf(const QString& instance, const QString& className) const;

private:
    std::vector<Entry> entries_;
};

} // namespace lumeno
