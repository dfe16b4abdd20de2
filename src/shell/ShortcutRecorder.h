#pragma once

#include "shell/RecordedKey.h"

#include <QObject>
#include <functional>

namespace lumeno {

// Takes every key press that reaches this application while it runs, so the key being recorded never
// types into a field or triggers a button. The keys other programs see are not touched: nothing is grabbed.
class ShortcutRecorder : public QObject {
    Q_OBJECT
public:
    explicit ShortcutRecorder(const KeyboardLayoutSource& keys, QObject* parent = nullptr);
    ~ShortcutRecorder() override;

    void start();
    void stop();
    bool isRecording() const { return recording_; }

signals:
    // Each key press while recording.
    void keyRecorded(const RecordedKey& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const KeyboardLayoutSource& keys_;
    bool recording_ = false;
};

} // namespace lumeno
