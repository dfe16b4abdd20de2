// A stand-in for the application the user works in, driven by the desktop tests. It reports on standard
// output, one JSON object a line, what a test needs to see from outside:
//   {"event": "ready", "window": <id>}   the window is shown and active
//   {"event": "text", "text": "…"}        the field's text changed
//   {"event": "key", "down": true, "code": <X key code>}   a key reached the application
//   {"event": "fetched", "text": "…", "kept": true}   (clipboard manager) the clipboard's new text was
//                                          read, and kept in its history
//   {"event": "offered", "text": "…"}     (clipboard manager) the clipboard was left empty and the
//                                          manager put its last entry back on it
//   {"event": "menu"}                      (menu on lone Alt) Alt went down and up alone: the menu took the focus
//
// --title TEXT        the window's title
// --copy TEXT         put TEXT on the clipboard first, as if the user had copied it here
// --clipboard-manager no window: read every new clipboard text at once and keep it, as clipboard managers
//                     do, except what a password manager marks secret; offer the last entry again when the
//                     clipboard is left empty
// --ignore-secret-mark (with --clipboard-manager) keep marked copies too, as some managers do
// --menu-on-lone-alt  act on Alt pressed and released with no other key between, as menu bars do: the
//                     focus leaves the field for the menu, so what is typed next goes nowhere
#include "Activation.h"

#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <QWidget>

#include <cstdio>

namespace {

void report(const QJsonObject& object) {
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

// Sees every key the application receives, whether or not the field types anything for it.
class KeyReporter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool down = event->type() == QEvent::KeyPress, up = event->type() == QEvent::KeyRelease;
        // Each key event passes the window and then the widget: report it once, at the window.
        if ((down || up) && watched->isWindowType())
            report({{"event", "key"}, {"down", down}, {"code", int(static_cast<QKeyEvent*>(event)->nativeScanCode())}});
        return false;
    }
};

// A menu bar's Alt key: armed when Alt goes down, disarmed by any other key, acted on when Alt comes up
// still armed.
class LoneAltMenu final : public QObject {
public:
    explicit LoneAltMenu(QWidget& menu) : menu_(menu) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWindowType() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool alt = key->key() == Qt::Key_Alt;
        if (event->type() == QEvent::KeyPress) {
            armed_ = alt;
        } else if (alt && std::exchange(armed_, false)) {
            menu_.setFocus();
            report({{"event", "menu"}});
        }
        return false;
    }

private:
    QWidget& menu_;
    bool armed_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumeno-desktop-target"));
    QApplication::setCursorFlashTime(0); // a steady caret: the screen changes only when the text does

    QCommandLineParser parser;
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("window title"), QStringLiteral("text"));
    const QCommandLineOption copy(QStringLiteral("copy"), QStringLiteral("copy first"), QStringLiteral("text"));
    const QCommandLineOption manager(QStringLiteral("clipboard-manager"), QStringLiteral("read every copy"));
    const QCommandLineOption ignoreSecret(QStringLiteral("ignore-secret-mark"), QStringLiteral("keep marked copies"));
    const QCommandLineOption menuOnLoneAlt(QStringLiteral("menu-on-lone-alt"), QStringLiteral("act on a lone Alt"));
    parser.addOptions({title, copy, manager, ignoreSecret, menuOnLoneAlt});
    parser.process(app);

    if (parser.isSet(copy))
        QApplication::clipboard()->setText(parser.value(copy));

    if (parser.isSet(manager)) {
        QStringList history;
        const bool keepsSecrets = parser.isSet(ignoreSecret);
        QClipboard* clipboard = QApplication::clipboard();
        QObject::connect(clipboard, &QClipboard::changed, [&, clipboard](QClipboard::Mode mode) {
            if (mode != QClipboard::Clipboard || clipboard->ownsClipboard())
                return;
            const QMimeData* data = clipboard->mimeData();
            if (!data || data->formats().isEmpty()) {
                if (!history.isEmpty()) {
                    clipboard->setText(history.last());
                    report({{"event", "offered"}, {"text", history.last()}});
                }
                return;
            }
            const bool secret = data->data(QStringLiteral("x-kde-passwordManagerHint")).trimmed() == "secret";
            const bool kept = !secret || keepsSecrets;
            if (kept)
                history.append(data->text());
            report({{"event", "fetched"}, {"text", data->text()}, {"kept", kept}});
        });
        report({{"event", "ready"}, {"window", 0}});
        return app.exec();
    }

    QWidget window;
    window.setWindowTitle(parser.value(title));
    auto* field = new QLineEdit(&window);
    field->setObjectName(QStringLiteral("field"));
    field->setMinimumWidth(760);
    QFont font = field->font();
    font.setPixelSize(22);
    field->setFont(font);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    QObject::connect(field, &QLineEdit::textChanged, [](const QString& text) { report({{"event", "text"}, {"text", text}}); });

    KeyReporter keys;
    app.installEventFilter(&keys);
    auto* menu = new QPushButton(QStringLiteral("File"), &window);
    menu->setVisible(parser.isSet(menuOnLoneAlt));
    layout->insertWidget(0, menu);
    LoneAltMenu loneAlt(*menu);
    if (parser.isSet(menuOnLoneAlt))
        app.installEventFilter(&loneAlt);
    bool announced = false;
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, [&](QWindow* focused) {
        if (focused && !std::exchange(announced, true))
            report({{"event", "ready"}, {"window", qint64(window.winId())}});
    });
    window.move(80, 80);
    window.show();
    field->setFocus();
    activateUntil(window, [&] { return announced; });
    return app.exec();
}
