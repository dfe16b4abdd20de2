#include "e2e/harness/E2eTest.h"

#include "e2e/harness/Popups.h"
#include "e2e/harness/ScreenButtons.h"
#include "e2e/harness/Speech.h"
#include "e2e/harness/WindowDrawing.h"
#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"
#include "testsupport/Screenshots.h"

#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

namespace lumeno::e2e {

E2eTest::E2eTest() : x_(XcbConnection::open()) {}

E2eTest::~E2eTest() = default;

bool E2eTest::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return desktop::DesktopTest::waitUntil(condition, timeoutMs);
}

void E2eTest::SetUp() {
    if (session().isRunning() && x_ && user.isReady())
        return;
    const std::string why = session().whyNotRunning().toStdString();
    if (qEnvironmentVariable("CI") == QLatin1String("true"))
        FAIL() << "The end-to-end desktop did not start: " << why;
    GTEST_SKIP() << "The end-to-end desktop did not start: " << why;
}

std::unique_ptr<LumenoProcess> E2eTest::launch(std::optional<QString> audioFile, QStringList environment) {
    environment << QStringLiteral("PULSE_SERVER=") + session().sound().address();
    return std::make_unique<LumenoProcess>(home, LumenoProcess::Options{server.baseURL(), audioFile, environment, {}});
}

void E2eTest::becomeReturningUser(const QString& email, const QString& name) {
    home.signIn(server, email, name);
    home.finishGuide();
}

QString E2eTest::spoken(const QString& text) {
    static QTemporaryDir folder;
    static QHash<QString, QString> made;
    if (const auto found = made.constFind(text); found != made.cend())
        return *found;
    const QString path = folder.filePath(QStringLiteral("speech-%1.wav").arg(made.size()));
    EXPECT_TRUE(speakInto(text, path)) << "espeak-ng could not speak (scripts/install-deps.sh installs it)";
    made.insert(text, path);
    return path;
}

std::vector<xcb_window_t> E2eTest::windowsOf(qint64 pid, const QString& title) {
    std::vector<xcb_window_t> windows;
    const xcb_atom_t clients = x_->atom("_NET_CLIENT_LIST");
    const auto list = x_->reply(xcb_get_property_reply,
                                xcb_get_property(x_->get(), 0, x_->root(), clients, XCB_ATOM_WINDOW, 0, 1024));
    if (!list)
        return windows;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
    for (int index = 0; index < xcb_get_property_value_length(list.get()) / 4; ++index) {
        if (X11WindowInfo::processId(*x_, ids[index]) == pid && X11WindowInfo::title(*x_, ids[index]).contains(title))
            windows.push_back(ids[index]);
    }
    return windows;
}

std::optional<xcb_window_t> E2eTest::waitForWindow(qint64 pid, const QString& title, int timeoutMs) {
    std::optional<xcb_window_t> found;
    waitUntil(
        [&] {
            for (const xcb_window_t window : windowsOf(pid, title)) {
                if (isViewable(window))
                    found = window;
            }
            return found.has_value();
        },
        timeoutMs);
    return found;
}

bool E2eTest::isStackedAbove(xcb_window_t upper, xcb_window_t lower) {
    // The window manager's stacking order, bottom first.
    const auto list = x_->reply(xcb_get_property_reply,
                                xcb_get_property(x_->get(), 0, x_->root(), x_->atom("_NET_CLIENT_LIST_STACKING"),
                                                 XCB_ATOM_WINDOW, 0, 1024));
    if (!list)
        return false;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / 4;
    const auto at = [&](xcb_window_t window) { return int(std::find(ids, ids + count, window) - ids); };
    return at(lower) < count && at(upper) < count && at(upper) > at(lower);
}

bool E2eTest::isViewable(xcb_window_t window) {
    const auto attributes = x_->reply(xcb_get_window_attributes_reply, xcb_get_window_attributes(x_->get(), window));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

QRect E2eTest::geometryOf(xcb_window_t window) {
    const auto geometry = x_->reply(xcb_get_geometry_reply, xcb_get_geometry(x_->get(), window));
    const auto place =
        x_->reply(xcb_translate_coordinates_reply, xcb_translate_coordinates(x_->get(), window, x_->root(), 0, 0));
    if (!geometry || !place)
        return {};
    return QRect(place->dst_x, place->dst_y, geometry->width, geometry->height);
}

QString E2eTest::titleOf(xcb_window_t window) {
    return X11WindowInfo::title(*x_, window);
}

std::optional<X11WindowInfo::WindowClass> E2eTest::windowClassOf(xcb_window_t window) {
    return X11WindowInfo::windowClass(*x_, window);
}

QStringList E2eTest::atomsOf(xcb_window_t window, const char* property) {
    QStringList names;
    const auto value = x_->reply(xcb_get_property_reply,
                                 xcb_get_property(x_->get(), 0, window, x_->atom(property), XCB_ATOM_ATOM, 0, 64));
    if (!value)
        return names;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(value.get()));
    for (int i = 0; i < xcb_get_property_value_length(value.get()) / 4; ++i) {
        const auto name = x_->reply(xcb_get_atom_name_reply, xcb_get_atom_name(x_->get(), atoms[i]));
        if (name)
            names << QString::fromLatin1(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get()));
    }
    return names;
}

QImage E2eTest::iconOf(xcb_window_t window) {
    // Up to a 256-pixel icon and the smaller ones before it, in 32-bit words.
    constexpr uint32_t mostWords = 4 * 256 * 256;
    const auto reply = x_->reply(xcb_get_property_reply, xcb_get_property(x_->get(), 0, window, x_->atom("_NET_WM_ICON"),
                                                                          XCB_ATOM_CARDINAL, 0, mostWords));
    if (!reply || reply->format != 32)
        return {};
    const auto* words = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    const qsizetype count = xcb_get_property_value_length(reply.get());
    QImage largest;
    // Each icon: width, height, then width × height ARGB pixels.
    for (qsizetype at = 0; at + 2 <= count;) {
        const quint32 width = words[at], height = words[at + 1];
        if (width == 0 || height == 0 || at + 2 + qsizetype(width) * height > count)
            break;
        if (int(width) > largest.width()) {
            largest = QImage(int(width), int(height), QImage::Format_ARGB32);
            for (quint32 y = 0; y < height; ++y)
                for (quint32 x = 0; x < width; ++x)
                    largest.setPixel(int(x), int(y), words[at + 2 + y * width + x]);
        }
        at += 2 + qsizetype(width) * height;
    }
    return largest;
}

void E2eTest::askWindowManager(xcb_window_t window, const char* request, int sourceField) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x_->atom(request);
    message.data.data32[sourceField] = 2; // from a pager: the window manager obeys it
    xcb_send_event(x_->get(), 0, x_->root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x_->flush();
}

void E2eTest::activate(xcb_window_t window) {
    askWindowManager(window, "_NET_ACTIVE_WINDOW", 0);
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == window; })) << "the window manager did not activate it";
}

void E2eTest::closeWindow(xcb_window_t window) {
    askWindowManager(window, "_NET_CLOSE_WINDOW", 1); // the first field is a time
}

std::optional<xcb_window_t> E2eTest::activeWindow() {
    return X11WindowInfo::windowProperty(*x_, x_->root(), "_NET_ACTIVE_WINDOW");
}

std::vector<xcb_window_t> E2eTest::popupsOf(qint64 pid) {
    return e2e::popupsOf(*x_, pid);
}

bool E2eTest::clickOn(qint64 pid, const QString& name) {
    // A control in a window the window manager placed is clicked by where that window is now, once it has
    // the size the control was laid out in and is drawn and still (which also waits out a move that goes
    // with a change of size). Others (the overlay, pop-ups) are where the toolkit says.
    std::optional<ScreenButtons::InWindow> control;
    std::optional<xcb_window_t> placed;
    bool unplaced = false;
    const bool found = waitUntil([&] {
        if (!(control = ScreenButtons::findInWindow(pid, name)))
            return false;
        // A window with no title is none the window manager places (the overlay, a pop-up); one with a title
        // may be shown before the window manager has taken it on.
        unplaced = control->windowTitle.isEmpty();
        if (unplaced)
            return true;
        placed.reset();
        for (const xcb_window_t window : windowsOf(pid, control->windowTitle))
            if (isViewable(window) && titleOf(window) == control->windowTitle &&
                geometryOf(window).size() == control->windowSize)
                placed = window;
        if (!placed || !waitUntilDrawn(*placed))
            return false;
        // A window that has just grown can report its new size while its controls still sit where the old
        // layout put them: the control counts once it is where it was after the window has drawn.
        const std::optional<ScreenButtons::InWindow> drawn = ScreenButtons::findInWindow(pid, name);
        return drawn && drawn->box == control->box && drawn->windowSize == control->windowSize &&
               geometryOf(*placed).size() == control->windowSize;
    });
    if (!found)
        return false;
    std::optional<QPoint> point;
    if (placed)
        point = geometryOf(*placed).topLeft() + control->box.center();
    else if (const std::optional<QRect> box = ScreenButtons::find(pid, name))
        point = box->center();
    if (!point)
        return false;
    user.click(point->x(), point->y());
    return true;
}

void E2eTest::copyToClipboard(const QString& text, const QImage& image) {
    auto* data = new QMimeData;
    data->setText(text);
    data->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(data);
}

bool E2eTest::waitForClipboard(const QString& text, const QImage& image) {
    return waitUntil([&] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || data->text() != text || !data->hasImage())
            return false;
        const QImage held = qvariant_cast<QImage>(data->imageData()).convertToFormat(image.format());
        return held == image;
    });
}

QImage E2eTest::grabScreen(const QRect& area) {
    return area.isNull() ? QGuiApplication::primaryScreen()->grabWindow(0).toImage()
                         : QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

QString E2eTest::screenshot(const QString& name) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return screenshots::save(grabScreen(), QStringLiteral("e2e-%1-%2").arg(QString::fromLatin1(test->name()), name));
}

QString E2eTest::screenshotOnceStill(const QString& name) {
    QImage last = grabScreen();
    const bool still = waitUntil([&] {
        const QImage now = grabScreen();
        return std::exchange(last, now) == now;
    });
    EXPECT_TRUE(still) << "the screen never stopped changing";
    return screenshots::save(last, QStringLiteral("e2e-%1-%2").arg(
                                       QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()), name));
}

bool E2eTest::waitUntilDrawn(xcb_window_t window) {
    const WindowDrawing drawing(window);
    // A window that goes away meanwhile will not draw.
    if (!waitUntil([&] { return drawing.hasDrawn() || !isViewable(window); }) || !drawing.hasDrawn())
        return false;
    // What it drew reaches the screen once the screen there stops changing (a compositor copies it there
    // a moment later). Only its own part is looked at: a whole screen each time would take the machine from
    // the program being watched.
    const QRect area = geometryOf(window);
    QImage last = grabScreen(area);
    return waitUntil([&] {
        const QImage now = grabScreen(area);
        return std::exchange(last, now) == now;
    });
}

QString E2eTest::screenshotOnceDrawn(xcb_window_t window, const QString& name) {
    EXPECT_TRUE(waitUntilDrawn(window)) << "the window " << titleOf(window).toStdString() << " was never drawn";
    return screenshot(name);
}

} // namespace lumeno::e2e
