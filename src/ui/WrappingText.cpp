#include "ui/WrappingText.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QTextDocument>

#include <cmath>
#include <memory>

namespace lumeno {

namespace {

constexpr int fewCharacters = 4;

} // namespace

WrappingText::WrappingText(const QString& text, Qt::Alignment alignment, Hierarchy level, const QFont& font,
                           QWidget* parent)
    : QTextEdit(parent) {
    setReadOnly(true);
    setFont(font);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    document()->setDocumentMargin(0);
    QPalette look = palette();
    look.setColor(QPalette::Base, Qt::transparent);
    look.setColor(QPalette::Text, hierarchicalColor(look, level));
    setPalette(look);
    viewport()->setAutoFillBackground(false);
    setPlainText(text);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDefaultTextOption(option);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSizeF WrappingText::laidOut(qreal width) const {
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    copy->setTextWidth(width);
    return copy->size();
}

int WrappingText::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    return int(std::ceil(laidOut(width - margins.left() - margins.right()).height())) + margins.top()
           + margins.bottom();
}

QSize WrappingText::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int natural = int(std::ceil(laidOut(-1).width())) + margins.left() + margins.right();
    return {natural, heightForWidth(natural)};
}

QSize WrappingText::minimumSizeHint() const {
    // The height follows from the width the layout gives (heightForWidth); one line at least.
    return {std::min(sizeHint().width(), fewCharacters * fontMetrics().averageCharWidth()), fontMetrics().height()};
}

void WrappingText::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    // Another width, other lines: the layout asks for the height again.
    if (event->size().width() != event->oldSize().width())
        updateGeometry();
}

} // namespace lumeno
