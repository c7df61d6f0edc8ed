// The board's palette: the colours of the window, the top band, the grid, the tabs and the
// asterisks. Buttons, overlays and panels keep their own colours beside their drawers.
#pragma once

#include "platform/canvas.h"

namespace render {

using platform::RGB;
using platform::RGBA;

constexpr platform::Color kBackgroundGrey = RGB(172, 176, 185);  // window and bottom margin
constexpr platform::Color kTopBand = RGB(160, 120, 0);           // behind the eight buttons
constexpr platform::Color kBlack = RGB(0, 0, 0);                 // outlines and text shadows
constexpr platform::Color kWhite = RGB(255, 255, 255);
constexpr platform::Color kWhiteAsterisk = RGBA(255, 255, 255, 255);
constexpr platform::Color kBlackAsterisk = RGBA(0, 0, 0, 255);

}  // namespace render
