#pragma once

#include <QWidget>

namespace lumeno {

// Which page of how many: a row of small dots, the current one darker.
class PageDots : public QWidget {
    Q_OBJECT
public:
    explicit PageDots(QWidget* parent = nullptr);

    void setPages(int count, int current);
    int count() const { return count_; }
    int current() const { return current_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int count_ = 1;
    int current_ = 0;
};

} // namespace lumeno
