#include "overlay/ListeningDebugView.h"

#include "overlay/ListeningDebugModel.h"
#include "ui/Ink.h"
#include "ui/TypeScale.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int fixedBlockHeight = 88;

// A block of read-only text that asks for the height of its lines, so a short block stays short and the
// growing one gets the room.
class TextBlock : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    QSize sizeHint() const override {
        const int lines = int(toPlainText().count(QLatin1Char('\n'))) + 1;
        // A few pixels over the lines themselves: the text view draws each line a little taller.
        const int height = lines * fontMetrics().lineSpacing() + 6 + 2 * frameWidth();
        return {QPlainTextEdit::sizeHint().width(), height};
    }
    // One line at least; the scroll area's own minimum would make every block tall.
    QSize minimumSizeHint() const override {
        return {QPlainTextEdit::minimumSizeHint().width(), fontMetrics().lineSpacing() + 2 * frameWidth()};
    }
};

void follow(QPlainTextEdit* view, const QString& text) {
    if (view->toPlainText() == text)
        return;
    view->setPlainText(text);
    view->updateGeometry();
}

} // namespace

ListeningDebugView::ListeningDebugView(ListeningDebugModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("listeningDebugView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(10);

    auto* headline = new QLabel(QStringLiteral("This reply"), this);
    headline->setFont(TypeScale::headline());
    headline->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(headline);

    QPlainTextEdit* person = block(QStringLiteral("Person"), QStringLiteral("personBlock"), false, *layout);
    QPlainTextEdit* thread = block(QStringLiteral("Thread"), QStringLiteral("threadBlock"), true, *layout);
    QPlainTextEdit* other = block(QStringLiteral("Also packed"), QStringLiteral("otherBlock"), false, *layout);

    connect(&model_, &ListeningDebugModel::personChanged, this, [this, person] { follow(person, model_.person()); });
    connect(&model_, &ListeningDebugModel::threadChanged, this, [this, thread] { follow(thread, model_.thread()); });
    connect(&model_, &ListeningDebugModel::otherChanged, this, [this, other] { follow(other, model_.other()); });
    follow(person, model_.person());
    follow(thread, model_.thread());
    follow(other, model_.other());
}

QPlainTextEdit* ListeningDebugView::block(const QString& title, const QString& objectName, bool grows,
                                          QVBoxLayout& into) {
    auto* heading = new QLabel(title, this);
    heading->setFont(TypeScale::caption(QFont::DemiBold));
    heading->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QPalette quiet = heading->palette();
    quiet.setColor(QPalette::WindowText, Ink::of(Hierarchy::secondary).resolve(palette()));
    heading->setPalette(quiet);

    auto* text = new TextBlock(this);
    text->setObjectName(objectName);
    text->setReadOnly(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setFont(TypeScale::monospaced(12));
    text->setFrameShape(QFrame::NoFrame);
    QPalette clear = text->palette();
    clear.setColor(QPalette::Base, Qt::transparent); // the text sits on the panel itself
    text->setPalette(clear);
    text->document()->setDocumentMargin(0);
    text->setFocusPolicy(Qt::NoFocus);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (!grows)
        text->setMaximumHeight(fixedBlockHeight);
    text->setSizePolicy(QSizePolicy::Expanding, grows ? QSizePolicy::Expanding : QSizePolicy::Maximum);

    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(heading);
    column->addWidget(text, grows ? 1 : 0);
    into.addLayout(column, grows ? 1 : 0);
    return text;
}

} // namespace lumeno
