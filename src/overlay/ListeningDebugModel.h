#pragma once

#include <QObject>
#include <QString>

namespace lumeno {

// The three texts of the listening debug panel: who the reply is for, the thread read, the other context.
class ListeningDebugModel : public QObject {
    Q_OBJECT
public:
    explicit ListeningDebugModel(QObject* parent = nullptr) : QObject(parent) {}

    const QString& person() const { return person_; }
    void setPerson(const QString& person);
    const QString& thread() const { return thread_; }
    void setThread(const QString& thread);
    const QString& other() const { return other_; }
    void setOther(const QString& other);

signals:
    void personChanged();
    void threadChanged();
    void otherChanged();

private:
    QString person_ = QStringLiteral("No person");
    QString thread_ = QStringLiteral("Reading…");
    QString other_;
};

} // namespace lumeno
