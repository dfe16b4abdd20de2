#pragma once

#include <QFont>
#include <QWidget>

namespace lumeno {

// A text that stays on one line while it fits and wraps to a fixed width when it does not. Whether it
// wraps is decided on the text's width in the regular font of its size, whatever weight it is drawn in.
class FittingText : public QWidget {
    Q_OBJECT
public:
    struct Style {
        qreal size = 13;
        QFont::Weight weight = QFont::Normal;
        int lines = 1;              // most lines when wrapping; below 2 never wraps
        int maxWidth = 300;
        Qt::TextElideMode truncation = Qt::ElideRight; // where a single line is cut
        bool secondary = false;     // the quieter text colour
        bool operator==(const Style&) const = default;
    };

    explicit FittingText(Style style, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    const Style& style() const { return style_; }
    void setStyle(const Style& style);

    // One-line width of `text` in the regular font of `size`, rounded up to a whole pixel.
    static qreal naturalWidth(const QString& text, qreal size);
    bool wraps() const;
    // The lines as drawn, cut where they are cut.
    QStringList shownLines() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font() const;
    // A single line cannot show a line break: each break, with the blanks around it, becomes one space.
    QString oneLine() const;

    QString text_;
    Style style_;
};

} // namespace lumeno
