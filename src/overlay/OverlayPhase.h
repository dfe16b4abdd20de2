#pragma once

namespace lumeno {

// Which row the capture overlay shows.
enum class OverlayPhase { hidden, listening, transcribing, drafting, inserted, pending, message };

} // namespace lumeno
