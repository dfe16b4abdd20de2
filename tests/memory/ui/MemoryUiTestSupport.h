#pragma once

#include "memory/MemoryStore.h"
#include "memory/ui/ExportLocationChooser.h"
#include "memory/ui/MemoryView.h"
#include "support/Clock.h"
#include "support/ManualScheduler.h"
#include "support/Log.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/Screenshots.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace lumeno {

inline QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

inline QDateTime local(int year, int month, int day, int hour = 0, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime).toUTC();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the export's "where to?" question the way the test scripted it, and remembers being asked.
class ScriptedExportChooser final : public ExportLocationChooser {
public:
    std::optional<QString> choose(QWidget*, const QString& suggestedName) override {
        suggested = suggestedName;
        ++asked;
        return answer;
    }

    std::optional<QString> answer;
    QString suggested;
    int asked = 0;
};

// A store on memory.json in a fresh folder with a manual clock and captured log lines.
class MemoryUiTest : public ::testing::Test {
protected:
    MemoryUiTest() { previousSink_ = Log::setSink(log); }
    ~MemoryUiTest() override { Log::setSink(previousSink_); }

    QString memoryPath() const { return folder.filePath(QStringLiteral("memory.json")); }
    bool memoryFileExists() {
        memory->finishDiskWork();
        return QFile::exists(memoryPath());
    }
    // The memory as the next run of the program reads it.
    MemoryData onDisk() {
        memory->finishDiskWork();
        return MemoryStore(memoryPath(), clock).data();
    }

    // A MemoryView on this store, shown at the window's size.
    std::unique_ptr<MemoryView> openView() {
        auto view = std::make_unique<MemoryView>(*memory, chooser, scheduler);
        view->resize(760, 540);
        view->show();
        QApplication::processEvents();
        return view;
    }

    template <typename T>
    static T* child(const QWidget& parent, const QString& name) {
        T* found = parent.findChild<T*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }

    static QAbstractButton* button(QMessageBox& box, const QString& text) {
        for (QAbstractButton* candidate : box.buttons())
            if (candidate->text() == text)
                return candidate;
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }

    // Saves what the user sees once pending layout has run.
    static void picture(QWidget& widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(QFile::exists(screenshots::save(screenshots::onDesktop(widget), name)));
    }

    QTemporaryDir folder;
    ManualClock clock{utc(2026, 3, 4, 10, 0)};
    ManualScheduler scheduler{clock};
    std::unique_ptr<MemoryStore> memory = std::make_unique<MemoryStore>(memoryPath(), clock);
    ScriptedExportChooser chooser;
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();

private:
    std::shared_ptr<LogSink> previousSink_;
};

} // namespace lumeno
