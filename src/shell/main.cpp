// The program entry: the game over the desktop's SDL implementation of the platform.
#include "platform/sdl/sdl_system.h"
#include "shell/startup.h"

int main() {
  auto system = platform::MakeSdlSystem();
  return shell::RunGame(*system);
}
