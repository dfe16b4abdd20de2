#include "platform/linux/WorkerThread.h"

#include <QMetaObject>

namespace lumeno {

WorkerThread::WorkerThread(const QString& name) : context_(new QObject) {
    thread_.setObjectName(name);
    context_->moveToThread(&thread_);
    // The context goes with the thread's event loop, on the thread it lives on.
    QObject::connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_.start();
}

WorkerThread::~WorkerThread() {
    thread_.quit();
    thread_.wait();
}

void WorkerThread::post(std::function<void()> job) {
    QMetaObject::invokeMethod(context_, std::move(job), Qt::QueuedConnection);
}

} // namespace lumeno

