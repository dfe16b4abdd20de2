#include "platform/linux/PulseAudioServer.h"

#include "support/Log.h"
#include "support/Scheduler.h"

#include <QPointer>

#include <pulse/pulseaudio.h>

namespace lumeno {

namespace {

PulseAudioServer& serverOf(void* self) {
    return *static_cast<PulseAudioServer*>(self);
}

} // namespace

PulseAudioServer::PulseAudioServer(Scheduler& scheduler, QObject* parent)
    : QObject(parent), scheduler_(scheduler), mainloop_(pa_threaded_mainloop_new()) {
    pa_threaded_mainloop_set_name(mainloop_, "lumeno-sound");
    pa_threaded_mainloop_start(mainloop_);
    connectToServer();
}

PulseAudioServer::~PulseAudioServer() {
    // Ends the thread first: nothing runs on the context from then on.
    pa_threaded_mainloop_stop(mainloop_);
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    pa_threaded_mainloop_free(mainloop_);
}

void PulseAudioServer::lock() const {
    pa_threaded_mainloop_lock(mainloop_);
}

void PulseAudioServer::unlock() const {
    pa_threaded_mainloop_unlock(mainloop_);
}

void PulseAudioServer::connectToServer() {
    lock();
    pa_mainloop_api_once(
        pa_threaded_mainloop_get_api(mainloop_), [](pa_mainloop_api*, void* self) { serverOf(self).connectOnThread(); },
        this);
    unlock();
}

void PulseAudioServer::connectOnThread() {
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    ready_ = false;
    ++attempt_;
    context_ = pa_context_new(pa_threaded_mainloop_get_api(mainloop_), "Lumeno");
    pa_context_set_state_callback(
        context_,
        [](pa_context* context, void* self) {
            PulseAudioServer& server = serverOf(self);
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                server.ready_ = true;
                pa_operation_unref(pa_context_subscribe(
                    context, pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SERVER | PA_SUBSCRIPTION_MASK_SOURCE), nullptr,
                    nullptr));
                server.readDefaultInput();
            } else if (!PA_CONTEXT_IS_GOOD(state)) {
                server.ready_ = false;
                server.tellLost();
            }
        },
        this);
    // Any change to the server's defaults or to its inputs may change the default input.
    pa_context_set_subscribe_callback(
        context_, [](pa_context*, pa_subscription_event_type_t, uint32_t, void* self) { serverOf(self).readDefaultInput(); },
        this);
    // Never starts a server of its own: the desktop's is the one the user's microphone belongs to.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        tellLost();
}

void PulseAudioServer::readDefaultInput() {
    pa_operation* reading = pa_context_get_server_info(
        context_,
        [](pa_context* context, const pa_server_info* info, void* self) {
            if (!info || !info->default_source_name || !*info->default_source_name) {
                serverOf(self).tell(std::nullopt);
                return;
            }
            pa_operation_unref(pa_context_get_source_info_by_name(
                context, info->default_source_name,
                [](pa_context*, const pa_source_info* source, int last, void* self) {
                    if (last > 0)
                        return; // the end of the list, after the source itself
                    if (!source || source->monitor_of_sink != PA_INVALID_INDEX)
                        serverOf(self).tell(std::nullopt);
                    else
                        serverOf(self).tell(Input{QString::fromUtf8(source->name), QString::fromUtf8(source->description)});
                },
                self));
        },
        this);
    if (reading)
        pa_operation_unref(reading);
}

void PulseAudioServer::tell(std::optional<Input> input) {
    QMetaObject::invokeMethod(
        this, [this, attempt = quint64(attempt_), input] { found(attempt, input); }, Qt::QueuedConnection);
}

void PulseAudioServer::tellLost() {
    QMetaObject::invokeMethod(this, [this, attempt = quint64(attempt_)] { lost(attempt); }, Qt::QueuedConnection);
}

void PulseAudioServer::found(quint64 attempt, std::optional<Input> input) {
    if (attempt != attempt_)
        return;
    if (running_ == true && input == input_)
        return;
    if (running_ != true)
        Log::speech.info(QStringLiteral("Sound server found"));
    running_ = true;
    input_ = std::move(input);
    Log::speech.info(QStringLiteral("Sound input: %{public}s"),
                     {input_ ? input_->description : QStringLiteral("none")});
    emit changed();
}

void PulseAudioServer::lost(quint64 attempt) {
    if (attempt != attempt_ || retrying_)
        return;
    const bool was = running_.value_or(true);
    running_ = false;
    input_.reset();
    if (was) {
        Log::speech.info(QStringLiteral("No sound server; looking for one every %{public}d s"), {int(retrySeconds)});
        emit changed();
    }
    retrying_ = true;
    scheduler_.after(retrySeconds, [self = QPointer<PulseAudioServer>(this)] {
        if (!self)
            return;
        self->retrying_ = false;
        self->connectToServer();
    });
}

} // namespace lumeno
