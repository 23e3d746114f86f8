// The SDL video subsystem, started by the first platform call that needs it. Used only inside
// platform/.
#pragma once

namespace platform::detail {

// Starts SDL video once; false when no display can be opened (the reason goes to stderr once).
bool EnsureVideo();

// True when video is running and this is the thread that started it (SDL delivers its events
// there only).
bool VideoReadyHere();

// No real display: no video at all, or SDL's offscreen or dummy driver.
bool VideoIsHeadless();

}  // namespace platform::detail
