// What the tray shows of Lumeno before its menu opens: an icon and a help text that say whose they are,
// also while something still needs the user.
#include "e2e/TrayFixture.h"
#include "testsupport/Screenshots.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace lumeno::e2e {

namespace {

class TrayIcon : public TrayFixture {
protected:
    void TearDown() override {
        session().notifierTray().stop();
        session().accessibility().setEnabled(true);
    }

    // The title of a status-notifier item's help text ("<bus name>/<path>" or a bare bus name); empty when
    // the item does not answer.
    static QString notifierToolTipTitle(const QString& item) {
        const QString service = item.section(u'/', 0, 0);
        const QString path = item.contains(u'/') ? u'/' + item.section(u'/', 1) : QStringLiteral("/StatusNotifierItem");
        QDBusMessage get = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("ToolTip");
        const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        // (icon name, [(width, height, pixels)], title, text)
        const QDBusArgument tip = reply.arguments().front().value<QDBusVariant>().variant().value<QDBusArgument>();
        QString iconName, title, text;
        tip.beginStructure();
        tip >> iconName;
        tip.beginArray();
        while (!tip.atEnd()) {
            int width = 0, height = 0;
            QByteArray pixels;
            tip.beginStructure();
            tip >> width >> height >> pixels;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> text;
        tip.endStructure();
        return title;
    }
};

TEST_F(TrayIcon, TheHelpTextNamesLumeno) {
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    // The pointer rests on the icon: its help text shows beside it.
    const std::optional<std::pair<int, int>> centre = session().tray().centreOf(*icon);
    ASSERT_TRUE(centre);
    user.moveTo(centre->first, centre->second);
    const std::optional<xcb_window_t> tip = waitForPopup();
    ASSERT_TRUE(tip) << "no help text showed";
    screenshotOnceDrawn(*tip, QStringLiteral("help-text"));
    user.moveTo(0, 400);
    lumeno.reset();

    // A panel of the status-notifier kind shows the text Lumeno gives it.
    ASSERT_TRUE(session().notifierTray().start()) << session().notifierTray().whyNotRunning().toStdString();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    QStringList items;
    ASSERT_TRUE(waitUntil([&] { return !(items = session().notifierTray().itemsOf(lumeno->pid())).isEmpty(); }))
        << lumeno->log().toStdString();
    QString title;
    EXPECT_TRUE(waitUntil([&] { return (title = notifierToolTipTitle(items.front())).startsWith(QStringLiteral("Lumeno")); }))
        << title.toStdString();
    EXPECT_EQ(title, QStringLiteral("Lumeno: Hold Right Alt to reply"));
}

TEST_F(TrayIcon, BeforeAccessibilityIsOnTheIconIsLumenosWithAWarningBadge) {
    session().accessibility().setEnabled(false);
    becomeReturningUser();
    lumeno = launch(spoken(QStringLiteral("Hello")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> icon = waitForIcon();
    ASSERT_TRUE(icon) << lumeno->log().toStdString();
    // The icon as the tray shows it, once it has turned to the warning.
    QImage picture;
    const auto count = [&](auto matches) {
        int pixels = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                pixels += matches(picture.pixelColor(x, y));
        return pixels;
    };
    const auto orange = [](const QColor& c) { return c.red() > 200 && c.green() > 100 && c.green() < 190 && c.blue() < 80; };
    const auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 90 && c.green() > 90 && c.green() < 160; };
    EXPECT_TRUE(waitUntil([&] {
        picture = grabScreen().copy(geometryOf(*icon));
        return count(orange) > 0;
    })) << "the icon shows no warning";
    screenshots::save(picture.scaled(picture.size() * 4), QStringLiteral("e2e-tray-icon-needs-accessibility"));
    const int area = picture.width() * picture.height();
    EXPECT_GT(count(blue), area / 6) << "the icon is not Lumeno's blue tile";
    EXPECT_GT(count(orange), area / 20) << "the warning badge is too small to see";
}

} // namespace

} // namespace lumeno::e2e
