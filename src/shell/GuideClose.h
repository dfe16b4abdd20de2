#pragma once

#include <QObject>
#include <functional>

namespace lumeno {

// Watches the guide window's close button: `handler` runs, and the window closes (it is only hidden, and
// the guide keeps its state for the next showing). It never refuses a close.
class GuideClose : public QObject {
    Q_OBJECT
public:
    GuideClose(QWidget& window, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> handler_;
};

} // namespace lumeno
