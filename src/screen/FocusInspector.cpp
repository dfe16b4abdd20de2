#include "screen/FocusInspector.h"

#include "foundation/KnownApps.h"
#include "platform/AXNames.h"

#include <QCoroFuture>
#include <QUrl>

namespace lumeno {

namespace {

// Deeper than any page nests a field in practice; it only guards against a tree that loops.
constexpr int maximumAncestors = 64;

std::optional<QString> nonEmpty(std::optional<QString> text) {
    if (text && text->isEmpty())
        return std::nullopt;
    return text;
}

// A web page's address; a mail client's own documents ("about:blank?compose", "mailbox:…") are no page.
std::optional<QString> pageAddress(std::optional<QString> address) {
    if (!address)
        return std::nullopt;
    const QString scheme = QUrl(*address).scheme();
    const bool page = scheme == QLatin1String("https") || scheme == QLatin1String("http") ||
                      scheme == QLatin1String("file");
    return page ? address : std::nullopt;
}

} // namespace

FocusInspector::FocusInspector(Workspace& workspace, Accessibility& accessibility)
    : workspace_(workspace), accessibility_(accessibility) {}

QCoro::Task<std::optional<FocusSnapshot>> FocusInspector::snapshot() const {
    const std::optional<RunningApplication> front = workspace_.frontmostApplication();
    if (!front)
        co_return std::nullopt;
    // Named before it is awaited: g++ 12 releases the captures of a lambda that is a temporary inside a
    // co_await expression twice.
    // The reads hold the port alone, never this inspector, which may be gone at quit before they end.
    QCoro::Task<FocusSnapshot> reading = accessibility_.run(
        [application = *front](Accessibility& accessibility) { return read(accessibility, application); });
    const FocusSnapshot snapshot = co_await reading;
    co_return snapshot;
}

QCoro::Task<std::optional<QString>> FocusInspector::value(AccessibleElement element) const {
    QCoro::Task<std::optional<QString>> reading = accessibility_.run(
        [element](Accessibility& accessibility) { return accessibility.string(element, AXAttribute::value); });
    const std::optional<QString> text = co_await reading;
    co_return text;
}

bool FocusInspector::isFront(qint64 pid) const {
    const std::optional<RunningApplication> front = workspace_.frontmostApplication();
    return front && front->pid == pid;
}

FocusSnapshot FocusInspector::read(Accessibility& accessibility, const RunningApplication& application) {
    FocusSnapshot snapshot;
    snapshot.pid = application.pid;
    snapshot.bundleID = nonEmpty(application.applicationId);
    snapshot.appName = application.name;
    snapshot.isChromium =
        accessibility.toolkitName(application.pid).value_or(QString()).contains(QLatin1String("chromium"),
                                                                                 Qt::CaseInsensitive);
    // The desktop's own title for the window in front, until the element names its window.
    snapshot.windowTitle = nonEmpty(application.windowTitle);
    snapshot.element = accessibility.focusedElement(application.pid);
    if (!snapshot.element)
        return snapshot;
    const AccessibleElement& element = *snapshot.element;

    snapshot.role = nonEmpty(accessibility.string(element, AXAttribute::role));
    snapshot.roleName = nonEmpty(accessibility.string(element, AXAttribute::roleDescription));
    snapshot.subrole = nonEmpty(accessibility.string(element, AXAttribute::subrole));
    if (const std::optional<bool> settable = accessibility.isSettable(element, AXAttribute::value))
        snapshot.editability = *settable ? FocusSnapshot::Editability::editable : FocusSnapshot::Editability::readOnly;
    snapshot.hasKeyboardFocus = accessibility.flag(element, AXAttribute::focused).value_or(false);
    // Whatever a password field holds is never read, not even its selection.
    if (!isPasswordField(snapshot))
        snapshot.selectedText = nonEmpty(accessibility.string(element, AXAttribute::selectedText));
    if (const std::optional<AccessibleElement> window = accessibility.element(element, AXAttribute::window))
        if (std::optional<QString> title = nonEmpty(accessibility.string(*window, AXAttribute::title)))
            snapshot.windowTitle = title;
    snapshot.webURL = webAddress(accessibility, element);
    return snapshot;
}

std::optional<QString> FocusInspector::webAddress(Accessibility& accessibility, const AccessibleElement& element) {
    std::optional<AccessibleElement> current = element;
    for (int level = 0; current && level < maximumAncestors; ++level) {
        const std::optional<QString> role = accessibility.string(*current, AXAttribute::role);
        if (role == AXRole::webArea)
            return pageAddress(accessibility.string(*current, AXAttribute::url));
        if (role == AXRole::window || role == AXRole::application)
            return std::nullopt;
        current = accessibility.parent(*current);
    }
    return std::nullopt;
}

const QSet<QString>& FocusInspector::terminals() {
    static const QSet<QString> ids = {
        // As the applications declare themselves on the desktops they began on.
        QStringLiteral("com.apple.terminal"), QStringLiteral("com.googlecode.iterm2"),
        QStringLiteral("dev.warp.warp-stable"), QStringLiteral("dev.warp.warp"),
        QStringLiteral("net.kovidgoyal.kitty"), QStringLiteral("org.alacritty"), QStringLiteral("io.alacritty"),
        QStringLiteral("com.github.wez.wezterm"), QStringLiteral("co.zeit.hyper"),
        QStringLiteral("com.mitchellh.ghostty"), QStringLiteral("dev.commandline.waveterm"),
        QStringLiteral("com.termius-dmg.mac"),
        // Linux: .desktop ids (native and Flatpak) and window classes.
        QStringLiteral("org.gnome.terminal"), QStringLiteral("gnome-terminal"),
        QStringLiteral("gnome-terminal-server"), QStringLiteral("org.gnome.console"), QStringLiteral("kgx"),
        QStringLiteral("org.gnome.ptyxis"), QStringLiteral("ptyxis"), QStringLiteral("org.kde.konsole"),
        QStringLiteral("konsole"), QStringLiteral("org.kde.yakuake"), QStringLiteral("yakuake"),
        QStringLiteral("xfce4-terminal"), QStringLiteral("mate-terminal"), QStringLiteral("lxterminal"),
        QStringLiteral("qterminal"), QStringLiteral("tilix"), QStringLiteral("com.gexperts.tilix"),
        QStringLiteral("terminator"), QStringLiteral("guake"), QStringLiteral("tilda"),
        QStringLiteral("xterm"), QStringLiteral("uxterm"), QStringLiteral("urxvt"), QStringLiteral("rxvt"),
        QStringLiteral("st"), QStringLiteral("st-256color"), QStringLiteral("sakura"),
        QStringLiteral("terminology"), QStringLiteral("foot"), QStringLiteral("footclient"),
        QStringLiteral("alacritty"), QStringLiteral("kitty"), QStringLiteral("org.wezfurlong.wezterm"),
        QStringLiteral("wezterm"), QStringLiteral("ghostty"), QStringLiteral("com.raggesilver.blackbox"),
        QStringLiteral("cool-retro-term"), QStringLiteral("hyper"), QStringLiteral("warp"),
        QStringLiteral("waveterm"), QStringLiteral("termius"), QStringLiteral("termius-app"),
        QStringLiteral("io.elementary.terminal"), QStringLiteral("deepin-terminal"), QStringLiteral("contour"),
        QStringLiteral("org.codeberg.dnkl.foot"), QStringLiteral("app.devsuite.ptyxis"),
    };
    return ids;
}

bool FocusInspector::isTerminal(const FocusSnapshot& snapshot) {
    if (snapshot.role == AXRole::terminal)
        return true;
    return snapshot.bundleID && KnownApps::isListed(terminals(), *snapshot.bundleID);
}

bool FocusInspector::isPasswordField(const FocusSnapshot& snapshot) {
    return snapshot.subrole == AXSubrole::secureTextField;
}

} // namespace lumeno
