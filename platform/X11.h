// What the platform layer does on X11 beside SDL, kept apart because Xlib's header defines names
// (None, Status, Window...) that would clash elsewhere. Used only inside platform/.
#pragma once

struct SDL_Window;

namespace platform::detail {

// Once SDL's video runs: an error of an X request is written to stderr instead of ending the
// program, as Xlib's own handler would. Does nothing under other drivers.
void GuardXErrors();

// The descriptor of the X connection that window belongs to; -1 for no window or another driver.
int DisplayConnection(SDL_Window* window);

}  // namespace platform::detail
