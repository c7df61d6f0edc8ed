// The game window, its screen surface and presentation, and the millisecond clock: the SDL side
// of the platform seam, used by SdlSystem and the dialogs (dialogs.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/system.h"

namespace platform {

struct Window;

// Per-process start and end of the windowing and event facilities.
void InitPlatform();
void ShutdownPlatform();

// Connects to the display; false when there is none that shows a window.
bool StartVideo();

// The desktop's logical DPI (Xft.dpi where X11 sets it); 0 when it cannot be read. Read it after
// StartVideo: a lone connection opened and closed here would let a bare X server reset itself.
double DisplayDpi();

// Opens a centred, resizable window with the given client size; nullptr when no display.
Window* OpenGameWindow(int64_t width, int64_t height, const std::string& title);
void SetMinimumClientSize(Window* window, int64_t width, int64_t height);
// 0 x 0 while minimised. While the window is dragged to new sizes it tells them as ResizeGate
// lets it, and SkipFrame wakes for a size held back.
void GetClientSize(Window* window, int64_t& width, int64_t& height);
void CloseGameWindow(Window* window);

// Takes every pending event without waiting; true when the player asked to close the window.
// The game's key events are kept in the window until TakeKeyEvents.
bool DrainEvents(Window* window);
// The key events drained since the last call, into `in`.
void TakeKeyEvents(Window* window, InputState& in);
// Full screen at the display's size (desktop mode), or back to the size and place it had.
void ToggleFullScreen(Window* window);

// The text layer every font and text draw needs.
bool StartSpriteLayer();
bool StartKeyboard();

// The surface over the whole client area, whatever size it takes later, and the canvas that
// draws on it.
bool OpenScreen(Window* window);
Canvas* ScreenCanvas(Window* window);
// Presents the back buffer. When the display does not pace presenting (software renderer,
// offscreen driver) this waits out the rest of the refresh interval itself.
void Flip(Window* window);
// Waits out a frame that needed no new picture: until the next event or `deadlineMs` (NowMs
// clock; kNoDeadline: no timeout), and no longer than the refresh when the deadline falls
// within one, so a loop with something moving keeps the display's rate.
void SkipFrame(Window* window, int64_t deadlineMs);
// True once after the window was exposed or resized, or a dialog in front of it closed: its
// contents must be drawn again. Not while a new size is held back; it is kept until then.
bool TakeRedrawRequest(Window* window);
// Called while a modal dialog blocks the frame loop and the window is exposed: it shows the
// last frame again and presents it. Drawing no new frame, it must not touch the game state.
void SetRepaintHandler(Window* window, std::function<void()> repaint);

int64_t NowMs();  // monotonic milliseconds

}  // namespace platform
