// Times a program's start to its first frame on screen: starts the command, finds its window by
// name, and polls one pixel of it until it shows the expected colour.
// Usage: first_frame WINDOW_NAME X Y RRGGBB -- COMMAND [ARGS...]
// Prints the milliseconds from launch to that pixel, leaves the program running and prints its
// pid on a second line. Exits 1 when nothing matched within 30 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

Window FindWindow(Display* display, Window root, const char* name) {
  Window parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* title = nullptr;
    if (XFetchName(display, children[i], &title) && title != nullptr) {
      if (std::strcmp(title, name) == 0) found = children[i];
      XFree(title);
    }
    if (found == 0) found = FindWindow(display, children[i], name);
  }
  if (children != nullptr) XFree(children);
  return found;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // the window may not be mapped yet

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || std::strcmp(argv[5], "--") != 0) {
    std::fprintf(stderr, "usage: first_frame WINDOW_NAME X Y RRGGBB -- COMMAND [ARGS...]\n");
    return 2;
  }
  const char* name = argv[1];
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const unsigned long want = std::strtoul(argv[4], nullptr, 16);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "first_frame: no display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    // Not on our output: whoever reads it waits for our answer, not for the program to end.
    freopen("/dev/null", "w", stdout);
    execvp(argv[6], argv + 6);
    _exit(127);
  }
  for (;;) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed > std::chrono::seconds(30)) break;
    // Looked up afresh each time: SDL may replace a new window with another of the same name.
    const Window window = FindWindow(display, DefaultRootWindow(display), name);
    if (window != 0) {
      if (XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap)) {
        const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        if (pixel == want) {
          const auto ms = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
          std::printf("%.1f\n%d\n", ms / 1000.0, static_cast<int>(pid));
          return 0;
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::printf("timeout\n%d\n", static_cast<int>(pid));
  return 1;
}
