#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace lumeno {

class SymbolView;

// The panel shown instead of a section with nothing to list: a large symbol, a heading and a paragraph
// that tells the user how things get there.
class EmptyMemory : public QWidget {
    Q_OBJECT
public:
    struct Content {
        QString symbol;
        QString title;
        QString detail;
        bool operator==(const Content&) const = default;
    };

    explicit EmptyMemory(Content content, QWidget* parent = nullptr);

    const Content& content() const { return content_; }
    void setContent(Content content);

private:
    Content content_;
    SymbolView* symbol_;
    QLabel* title_;
    QLabel* detail_;
};

} // namespace lumeno
