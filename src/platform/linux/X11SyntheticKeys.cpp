#include "platform/linux/X11SyntheticKeys.h"

#include <algorithm>

namespace lumeno {

void X11SyntheticKeys::setWatching(bool watching) {
    watching_ = watching;
    pending_.clear();
}

void X11SyntheticKeys::sent(quint8 keyCode, bool down) {
    if (!watching_)
        return;
    pending_.push_back({keyCode, down});
    if (pending_.size() > limit)
        pending_.pop_front();
}

bool X11SyntheticKeys::take(quint8 keyCode, bool down) {
    const auto found = std::find(pending_.begin(), pending_.end(), Sent{keyCode, down});
    if (found == pending_.end())
        return false;
    pending_.erase(found);
    return true;
}

} // namespace lumeno
