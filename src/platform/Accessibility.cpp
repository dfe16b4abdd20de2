#include "platform/Accessibility.h"

#include <QThreadPool>

namespace lumeno {

void Accessibility::post(std::function<void()> job) {
    QThreadPool::globalInstance()->start(std::move(job));
}

} // namespace lumeno
