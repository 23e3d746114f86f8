// The least window program: SDL's video started, one window of the environment's main window's
// size opened, filled and presented once, then the end. Linked with SDL alone. It tells the
// process start-up benchmark that the frame is on the screen by writing one byte to the file
// descriptor named by its argument. It takes SDL's window framebuffer as the environment does
// (no GPU renderer behind it), the cheapest way to a presented frame there is.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <SDL.h>

int main(int argc, char** argv) {
  const int presented = argc > 1 ? std::atoi(argv[1]) : -1;
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "one frame: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("One frame", 100, 100, 800, 600, 0);
  SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!surface) {
    std::fprintf(stderr, "one frame: %s\n", SDL_GetError());
    return 1;
  }
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xC0, 0xC0, 0xC0));
  if (SDL_UpdateWindowSurface(window) != 0) return 1;
  if (presented >= 0 && write(presented, "F", 1) != 1) return 1;
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
