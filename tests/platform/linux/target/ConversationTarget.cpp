// A chat window as the accessibility tests see it: a conversation of labels above a multi-line reply
// field, then a subject line, a password field and a read-only field ("--messages N" makes the
// conversation N messages long). It reports on standard output, one JSON object a line, when it is ready
// and each time a field's text changes:
//   {"event": "ready"}
//   {"event": "text", "field": "reply" | "subject" | "password" | "readOnly", "text": "…"}
#include "Activation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>

namespace {

void report(const QJsonObject& object) {
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Compact).append('\n').constData(), stdout);
    std::fflush(stdout);
}

void reportText(const char* field, const QString& text) {
    report({{"event", "text"}, {"field", field}, {"text", text}});
}

QLineEdit* lineField(const char* name, const QString& text, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    QObject::connect(field, &QLineEdit::textChanged, [name](const QString& now) { reportText(name, now); });
    return field;
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt joins the accessibility bus only when asked to, or when a screen reader runs.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumeno-conversation-target"));
    QCommandLineParser parser;
    const QCommandLineOption messages(QStringLiteral("messages"), QStringLiteral("conversation length"), QStringLiteral("count"));
    parser.addOption(messages);
    parser.process(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Thread with Ana"));
    auto* layout = new QVBoxLayout(&window);
    for (const char* line : {"Ana: Can we move the review to Friday?", "Me: Let me check my calendar.",
                             "Ana: Also, bring the budget numbers 🎉."})
        layout->addWidget(new QLabel(QString::fromUtf8(line), &window));
    for (int number = 4; number <= parser.value(messages).toInt(); ++number)
        layout->addWidget(new QLabel(QStringLiteral("Ana: Message %1, about the figures for the review.").arg(number), &window));
    auto* reply = new QPlainTextEdit(&window);
    reply->setAccessibleName(QStringLiteral("Reply"));
    QObject::connect(reply, &QPlainTextEdit::textChanged, [reply] { reportText("reply", reply->toPlainText()); });
    layout->addWidget(reply);
    layout->addWidget(lineField("subject", QStringLiteral("Re: review"), &window));
    QLineEdit* password = lineField("password", QStringLiteral("hunter2"), &window);
    password->setEchoMode(QLineEdit::Password);
    layout->addWidget(password);
    QLineEdit* readOnly = lineField("readOnly", QStringLiteral("Sent from the team account"), &window);
    readOnly->setReadOnly(true);
    layout->addWidget(readOnly);

    bool announced = false;
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, [&](QWindow* focused) {
        if (focused && !std::exchange(announced, true))
            report({{"event", "ready"}});
    });
    window.resize(560, 420);
    window.move(60, 60);
    window.show();
    reply->setFocus();
    activateUntil(window, [&] { return announced; });
    return app.exec();
}
