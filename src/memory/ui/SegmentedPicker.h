#pragma once

#include <QStringList>
#include <QWidget>

namespace lumeno {

// A row of joined segments of which exactly one is chosen, like the section switch at the top of a window.
class SegmentedPicker : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedPicker(QStringList segments, QWidget* parent = nullptr);

    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    const QStringList& segments() const { return segments_; }
    // Relabels the segments in place (their counts change as memory changes).
    void setSegments(const QStringList& segments);
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void currentIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int segmentWidth(int index) const;

    QStringList segments_;
    int current_ = 0;
    // The focus ring is for keyboard users: it shows when the focus came by Tab, not when the window opened.
    bool keyboardFocus_ = false;
};

} // namespace lumeno
