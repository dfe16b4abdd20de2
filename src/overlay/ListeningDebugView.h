#pragma once

#include <QWidget>

class QPlainTextEdit;
class QVBoxLayout;

namespace lumeno {

class ListeningDebugModel;

// "This reply": the person, the thread and the other context gathered so far, each in a scrolling block of
// selectable monospaced text. The thread takes the height the other two leave.
class ListeningDebugView : public QWidget {
    Q_OBJECT
public:
    explicit ListeningDebugView(ListeningDebugModel& model, QWidget* parent = nullptr);

private:
    QPlainTextEdit* block(const QString& title, const QString& objectName, bool grows, QVBoxLayout& into);

    ListeningDebugModel& model_;
};

} // namespace lumeno
