#pragma once

#include "drafting/DraftInput.h"
#include "drafting/DraftPrompt.h"
#include "drafting/DraftReply.h"
#include "drafting/DraftResult.h"
#include "support/CancelToken.h"

#include <QCoroTask>

#include <functional>

namespace lumeno {

class Clock;
class SettingsStore;

// The drafting pipeline: build the prompts, send them, clean what comes back, lay it out for the kind of
// message and guard it.
class DraftGenerator {
public:
    // Cancelling the token ends the call at once (the request in flight is aborted).
    using Send = std::function<QCoro::Task<DraftReply>(DraftPrompt, CancelToken)>;

    // `settings` names the provider and model when the server does not; both must outlive the generator.
    DraftGenerator(const SettingsStore& settings, const Clock& clock);

    // The model call. Until the application installs the server's drafting call it fails with a server
    // error saying so. It throws DraftError, or Cancelled when the draft was called off.
    Send send;

    // Throws DraftError (emptyResponse when the model wrote nothing usable), Cancelled, or whatever `send`
    // throws. Cancelling `cancel` calls the model call off.
    QCoro::Task<DraftResult> compose(DraftInput input, CancelToken cancel = {});

    // The model's text made ready to insert: cleaned, guarded and laid out for `input`'s kind of message;
    // empty when the model said nothing.
    static QString finished(const QString& modelText, const DraftInput& input, int tokenLimit);

private:
    const SettingsStore& settings_;
    const Clock& clock_;
};

} // namespace lumeno
