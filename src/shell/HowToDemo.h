#pragma once

#include "shell/DemoFrame.h"

#include <QWidget>

namespace lumeno {

// The animated card at the top of each how-to page: a chat message, a text field, and the listening bubble
// that turns what is said into the draft typed into the field. It shows the frame for the time it is given.
class HowToDemo : public QWidget {
    Q_OBJECT
public:
    static constexpr int cardWidth = 344;

    explicit HowToDemo(QWidget* parent = nullptr);

    void setEdit(bool edit);
    // Seconds since the page was shown.
    void setTime(double elapsed);
    const DemoFrame& frame() const { return frame_; }
    bool edit() const { return edit_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintMessage(QPainter& painter, const QRectF& row);
    void paintField(QPainter& painter, const QRectF& row);

    bool edit_ = false;
    double elapsed_ = 0;
    DemoFrame frame_;
};

} // namespace lumeno
