// board_pictures: renders the views of the view tests to PNG files for looking at the board.
// Each view is played into place at its size on the null platform over an SDL surface in memory,
// and drawn by the shell's own frame step, as the window draws it. Opens no window.
// Usage: board_pictures OUTPUT_DIR [NAME_FILTER]; the folder is made when missing.
#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/null/null_system.h"
#include "platform/sdl/surface_screen.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/startup.h"
#include "views/views.h"

namespace {

bool WritePng(const std::string& path, const SDL_Surface* surface) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr && setjmp(png_jmpbuf(png)) == 0;
  if (ok) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface->w),
                 static_cast<png_uint_32>(surface->h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(surface->w) * 3);
    for (int y = 0; y < surface->h; ++y) {
      const auto* pixels = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
      for (int x = 0; x < surface->w; ++x) {
        row[x * 3 + 0] = static_cast<png_byte>(pixels[x] >> 16);
        row[x * 3 + 1] = static_cast<png_byte>(pixels[x] >> 8);
        row[x * 3 + 2] = static_cast<png_byte>(pixels[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}

// No fill before the frame: the surface starts black, so a gap the board's tiles leave shows.
bool Render(const views::View& view, const views::Size& size, const std::string& path) {
  platform::SurfaceScreen screen(size.width, size.height, SDL_PIXELFORMAT_ARGB8888);
  if (!screen.Ready()) return false;
  platform::NullSystem system(screen);
  if (!system.OpenWindow(size.width, size.height, shell::kWindowTitle) || !system.OpenScreen()) {
    return false;
  }
  views::Scene scene(*system.ScreenCanvas(), size.width, size.height);
  view.setup(scene);
  if (!view.shows(scene)) {
    std::fprintf(stderr, "board_pictures: %s at %s does not show what it is for: %s\n", view.name,
                 size.tag, view.what);
  }
  // The scene becomes the game's record; its fonts and images already live on the screen.
  shell::Game game(system);
  game.state = scene.state;
  game.layout = scene.layout;
  game.fonts = scene.fonts;
  game.balls = scene.balls;
  game.input = scene.input;
  shell::RenderFrame(game);  // recorded, replayed and presented, as the window draws a frame
  return system.presents == 1 && WritePng(path, screen.Pixels());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: board_pictures OUTPUT_DIR [NAME_FILTER]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string filter = argc > 2 ? argv[2] : "";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "board_pictures: cannot make %s: %s\n", dir.c_str(),
                 error.message().c_str());
    return 1;
  }
  int failures = 0;
  for (const views::View& view : views::Catalogue()) {
    if (!filter.empty() && std::string(view.name).find(filter) == std::string::npos) continue;
    for (const views::Size& size : views::Sizes()) {
      const std::string path = dir + "/" + view.name + "-" + size.tag + ".png";
      if (Render(view, size, path)) {
        std::printf("%s\n", path.c_str());
      } else {
        std::fprintf(stderr, "board_pictures: could not write %s\n", path.c_str());
        ++failures;
      }
    }
  }
  return failures == 0 ? 0 : 1;
}
