#pragma once

#include <QObject>
#include <functional>

namespace lumeno {

// Watches the guide window's close button: the window is only hidden (the guide keeps its state for the
// next showing), then `handler` runs.
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
