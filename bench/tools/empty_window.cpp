// The yardstick for the game's start-up: an SDL2 window opened the way the game opens its own,
// cleared and presented once, then idle until closed. Nothing else is loaded.
#include <SDL.h>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("empty", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        1002, 752, SDL_WINDOW_RESIZABLE);
  SDL_Renderer* renderer =
      window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC) : nullptr;
  if (renderer == nullptr) return 1;
  SDL_SetRenderDrawColor(renderer, 160, 120, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  SDL_Event event;
  while (SDL_WaitEvent(&event) && event.type != SDL_QUIT) {
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
