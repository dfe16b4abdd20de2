#include "shell/HowToSession.h"

namespace lumeno {

void HowToSession::setPage(int page) {
    if (page_ == page)
        return;
    page_ = page;
    emit pageChanged();
}

void HowToSession::setPageStart(const QDateTime& start) {
    const QDateTime utc = start.toUTC();
    if (pageStart_ == utc)
        return;
    pageStart_ = utc;
    emit pageStartChanged();
}

} // namespace lumeno
