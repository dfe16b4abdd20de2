#pragma once

#include <QDateTime>
#include <QObject>

namespace lumeno {

// Where the how-to guide is: the page shown and when it was shown. The page start is the clock of the
// demonstration and of the key drawing, so both start over with every page and every opening.
class HowToSession : public QObject {
    Q_OBJECT
public:
    explicit HowToSession(QDateTime pageStart, QObject* parent = nullptr)
        : QObject(parent), pageStart_(pageStart.toUTC()) {}

    int page() const { return page_; }
    void setPage(int page);
    const QDateTime& pageStart() const { return pageStart_; }
    void setPageStart(const QDateTime& start);

signals:
    void pageChanged();
    void pageStartChanged();

private:
    int page_ = 0;
    QDateTime pageStart_;
};

} // namespace lumeno
