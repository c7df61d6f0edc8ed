// What changed between two recorded frames, as a few rectangles of the screen, and a replay of
// only the calls that paint there. A pixel shows the same in both frames when the calls that
// may paint it are the same calls in the same order; the screen is compared in tiles by that.
// Knows nothing of SDL: text is measured through the TextMetrics the frame was recorded with.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "render/display_list.h"

namespace render {

constexpr int64_t kDamageTile = 32;  // pixels a side
// More rectangles than this are merged: each costs a pass over the calls and a present.
constexpr std::size_t kMaxDamageRects = 8;
// Damage over more than this share of the client area is drawn as a whole frame.
constexpr double kFullReplayShare = 0.6;

// Fills `list.regions` for a `width` x `height` client area: the bounds of every call and how it
// stands to `previous` (the frame on screen, at the same size): its calls matched in order with
// those of `previous`, or, when too many would be left unmatched, the calls over each tile, for
// which `previous` is tiled too if it was not. A matched call takes its bounds from its partner
// instead of measuring again. Called once for each recorded frame that is to be shown, while the
// fonts and images it names are alive.
void IndexFrame(DisplayList& list, const platform::TextMetrics& metrics, int64_t width,
                int64_t height, DisplayList* previous = nullptr);

// True when `next` has the same calls as `shown`: nothing on screen would change. Quick when one
// was indexed from the other.
bool SameCalls(const DisplayList& shown, const DisplayList& next);

// The rectangles where `next` may look different from `shown`, both indexed, merged into at most
// kMaxDamageRects that do not overlap; empty when nothing differs. False when the frame must be
// drawn whole instead: the sizes differ, either frame draws on an image, the two were indexed
// neither from one another nor by tiles, or the damage covers most of the client area.
bool FindDamage(const DisplayList& shown, const DisplayList& next,
                std::vector<platform::Rect>& rects);

// Draws the calls of the indexed `list` that touch `rects`, each clipped to them, onto a screen
// that shows the frame the damage was found against; then sets `target` to present only them.
void ReplayDamage(const DisplayList& list, const std::vector<platform::Rect>& rects,
                  platform::Canvas& target);

}  // namespace render
