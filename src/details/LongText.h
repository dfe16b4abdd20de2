#pragma once

#include <QWidget>

class QToolButton;

namespace lumeno {

class WrappingText;

// A collapsible block for texts that can be long (prompts, samples, the thread): a disclosure line with the
// title, and under it the whole text, never shortened, selectable.
class LongText : public QWidget {
    Q_OBJECT
public:
    LongText(const QString& title, const QString& text, bool expanded, QWidget* parent = nullptr);

    QString title() const;
    QString text() const;
    bool isExpanded() const;
    void setExpanded(bool expanded);

signals:
    // The user opened or closed the block.
    void expandedByUser(bool expanded);

private:
    QToolButton* disclosure_;
    WrappingText* body_;
};

} // namespace lumeno
