// Damage: call bounds, tiles compared call by call, rectangles merged, and the partial replay.
// Bounds may be larger than what a call paints, never smaller: a missed pixel would stay stale.
#include "render/damage.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <string_view>

#include "platform/canvas_handles.h"

namespace render {
namespace {

__extension__ typedef __int128 Wide;
using platform::Rect;

// Bounds from [x0, x1) x [y0, y1), saturated so extreme coordinates cannot overflow later.
Rect Span(Wide x0, Wide y0, Wide x1, Wide y1) {
  constexpr Wide kFar = Wide{1} << 40;
  x0 = std::clamp(x0, -kFar, kFar);
  y0 = std::clamp(y0, -kFar, kFar);
  x1 = std::clamp(x1, -kFar, kFar);
  y1 = std::clamp(y1, -kFar, kFar);
  if (x0 >= x1 || y0 >= y1) return Rect{};
  return Rect{static_cast<int64_t>(x0), static_cast<int64_t>(y0), static_cast<int64_t>(x1 - x0),
              static_cast<int64_t>(y1 - y0)};
}

bool Empty(const Rect& r) { return r.w <= 0 || r.h <= 0; }

// Pixels a call may change on its output; empty for calls that draw nothing.
Rect BoundsOf(const CanvasCall& c, const platform::TextMetrics& metrics) {
  const auto& v = c.ints;
  switch (c.kind) {
    case CallKind::Box:
      if (v[2] <= 0 || v[3] <= 0) return Rect{};
      return Span(v[0], v[1], Wide{v[0]} + v[2], Wide{v[1]} + v[3]);
    case CallKind::Circle:
      if (v[2] < 0) return Rect{};
      return Span(Wide{v[0]} - v[2], Wide{v[1]} - v[2], Wide{v[0]} + v[2] + 1,
                  Wide{v[1]} + v[2] + 1);
    case CallKind::Line:
      return Span(std::min(v[0], v[2]), std::min(v[1], v[3]), Wide{std::max(v[0], v[2])} + 1,
                  Wide{std::max(v[1], v[3])} + 1);
    case CallKind::LineExtent: {
      if (v[2] == 0 || v[3] == 0) return Rect{};
      const Wide x0 = v[0], y0 = v[1];
      const Wide x1 = v[2] > 0 ? x0 + v[2] - 1 : x0 + v[2] + 1;
      const Wide y1 = v[3] > 0 ? y0 + v[3] - 1 : y0 + v[3] + 1;
      return Span(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1);
    }
    case CallKind::DrawText: {
      const double x = c.reals[0], y = c.reals[1];
      if (c.text.empty() || !std::isfinite(x) || !std::isfinite(y)) return Rect{};
      if (std::fabs(x) > 1e12 || std::fabs(y) > 1e12) return Rect{};
      const double w = metrics.TextWidth(c.font, c.text);
      const double h = metrics.TextHeight(c.font);
      // Glyphs taller than the line or leaning past its ends may reach a little beyond it.
      const auto pad = static_cast<Wide>(std::ceil(h / 4)) + 2;
      const auto px = static_cast<Wide>(std::floor(x + 0.5));
      const auto py = static_cast<Wide>(std::floor(y + 0.5));
      return Span(px - pad, py - pad, px + static_cast<Wide>(std::ceil(w)) + pad,
                  py + static_cast<Wide>(std::ceil(h)) + pad);
    }
    case CallKind::DrawImage:
      if (c.image == nullptr) return Rect{};
      return Span(v[0], v[1], Wide{v[0]} + c.image->width, Wide{v[1]} + c.image->height);
    default:
      return Rect{};
  }
}

// Calls that change something other than the screen's pixels in the frame.
bool OffScreen(const CanvasCall& c) {
  switch (c.kind) {
    case CallKind::BeginDrawing:
      return c.imageId != 0;
    case CallKind::EndDrawing:
      return false;
    case CallKind::Box:
    case CallKind::Circle:
    case CallKind::Line:
    case CallKind::LineExtent:
    case CallKind::DrawText:
    case CallKind::DrawImage:
      return c.outputId != 0;
    default:  // images, fonts and vectors made or freed
      return true;
  }
}

uint64_t Mix(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return h * 0xFF51AFD7ED558CCDull;
}

uint64_t HashOf(const CanvasCall& c) {
  uint64_t h = static_cast<uint64_t>(c.kind);
  for (int64_t v : c.ints) h = Mix(h, static_cast<uint64_t>(v));
  for (double v : c.reals) h = Mix(h, std::bit_cast<uint64_t>(v));
  h = Mix(h, c.color);
  h = Mix(h, static_cast<uint64_t>(c.mode));
  h = Mix(h, c.fontId);
  h = Mix(h, c.imageId);
  h = Mix(h, c.outputId);
  return Mix(h, std::hash<std::string_view>{}(c.text));
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Rect Unite(const Rect& a, const Rect& b) {
  const int64_t x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
  const int64_t x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
  return Rect{x0, y0, x1 - x0, y1 - y0};
}

int64_t Area(const Rect& r) { return r.w * r.h; }

// Tile-aligned runs of damaged tiles, grown down while the run below spans the same columns.
bool TileRects(const FrameRegions& r, const std::vector<uint8_t>& damaged,
               std::vector<Rect>& rects) {
  constexpr std::size_t kMaxRuns = 64;  // damage this scattered is cheaper drawn whole
  std::size_t firstOpen = 0;            // rects before this one ended above the current row
  for (int64_t row = 0; row < r.rows; ++row) {
    const std::size_t rowStart = rects.size();
    for (int64_t col = 0; col < r.columns;) {
      if (!damaged[static_cast<std::size_t>(row * r.columns + col)]) {
        ++col;
        continue;
      }
      const int64_t from = col;
      while (col < r.columns && damaged[static_cast<std::size_t>(row * r.columns + col)]) ++col;
      bool grown = false;
      for (std::size_t k = firstOpen; k < rowStart; ++k) {
        Rect& open = rects[k];
        if (open.x == from && open.w == col - from && open.y + open.h == row) {
          ++open.h;
          grown = true;
          break;
        }
      }
      if (!grown) rects.push_back(Rect{from, row, col - from, 1});
      if (rects.size() > kMaxRuns) return false;
    }
    // Rects that did not reach this row are closed; keep them ahead of the open ones.
    std::stable_partition(rects.begin() + static_cast<std::ptrdiff_t>(firstOpen), rects.end(),
                          [row](const Rect& t) { return t.y + t.h <= row; });
    firstOpen = static_cast<std::size_t>(std::count_if(
        rects.begin(), rects.end(), [row](const Rect& t) { return t.y + t.h <= row; }));
  }
  return true;
}

// Merges overlapping rectangles, near ones, and the cheapest pairs until few are left.
void MergeRects(std::vector<Rect>& rects) {
  constexpr int64_t kNear = 4 * kDamageTile * kDamageTile;  // pixels a merge may add for free
  while (rects.size() > 1) {
    std::size_t bi = 0, bj = 1;
    int64_t best = 0;
    bool found = false, overlapping = false;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      for (std::size_t j = i + 1; j < rects.size(); ++j) {
        const bool overlaps = Overlap(rects[i], rects[j]);
        if (overlapping && !overlaps) continue;
        const int64_t cost = Area(Unite(rects[i], rects[j])) - Area(rects[i]) - Area(rects[j]);
        if (!found || (overlaps && !overlapping) || cost < best) {
          bi = i;
          bj = j;
          best = cost;
          found = true;
          overlapping = overlapping || overlaps;
        }
      }
    }
    if (!overlapping && rects.size() <= kMaxDamageRects && best > kNear) return;
    rects[bi] = Unite(rects[bi], rects[bj]);
    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bj));
  }
}

// Exact comparisons of one call of the next frame with one of the frame shown, remembered:
// a call over many tiles (a panel's fill) meets the same partner in each of them.
struct PairMemo {
  std::vector<uint32_t> partner;  // per call of the next frame: the shown call compared, or ~0
  std::vector<uint8_t> equal;

  explicit PairMemo(std::size_t calls) : partner(calls, ~0u), equal(calls, 0) {}
  bool Equal(const DisplayList& shown, const DisplayList& next, uint32_t i, uint32_t j) {
    if (partner[j] != i) {
      partner[j] = i;
      equal[j] = shown.calls[i] == next.calls[j] ? 1 : 0;
    }
    return equal[j] != 0;
  }
};

bool TileDiffers(const DisplayList& shown, const DisplayList& next, std::size_t t, PairMemo& memo) {
  const FrameRegions& a = shown.regions;
  const FrameRegions& b = next.regions;
  if (a.tileHash[t] != b.tileHash[t]) return true;
  const uint32_t aFrom = a.tileStart[t], aTo = a.tileStart[t + 1];
  const uint32_t bFrom = b.tileStart[t], bTo = b.tileStart[t + 1];
  if (aTo - aFrom != bTo - bFrom) return true;
  for (uint32_t k = 0; k < aTo - aFrom; ++k) {
    if (!memo.Equal(shown, next, a.tileCalls[aFrom + k], b.tileCalls[bFrom + k])) return true;
  }
  return false;
}

}  // namespace

namespace {

// The tiles a call's bounds reach in `r`, as [c0, c1) x [r0, r1); false when none.
bool Reach(const FrameRegions& r, const Rect& b, int64_t& c0, int64_t& c1, int64_t& r0,
           int64_t& r1) {
  if (Empty(b)) return false;
  const int64_t x0 = std::max<int64_t>(b.x, 0), y0 = std::max<int64_t>(b.y, 0);
  const int64_t x1 = std::min(b.x + b.w, r.width), y1 = std::min(b.y + b.h, r.height);
  if (x0 >= x1 || y0 >= y1) return false;
  c0 = x0 / kDamageTile;
  c1 = (x1 + kDamageTile - 1) / kDamageTile;
  r0 = y0 / kDamageTile;
  r1 = (y1 + kDamageTile - 1) / kDamageTile;
  return true;
}

// The calls over each tile, in order, and each tile's hash of them, from the calls' bounds.
void Tile(FrameRegions& r) {
  const std::size_t n = r.bounds.size();
  const auto tiles = static_cast<std::size_t>(r.columns * r.rows);
  r.tileHash.assign(tiles, 0);
  r.tileStart.assign(tiles + 1, 0);
  int64_t c0 = 0, c1 = 0, r0 = 0, r1 = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!Reach(r, r.bounds[i], c0, c1, r0, r1)) continue;
    for (int64_t y = r0; y < r1; ++y) {
      for (int64_t x = c0; x < c1; ++x)
        ++r.tileStart[static_cast<std::size_t>(y * r.columns + x) + 1];
    }
  }
  for (std::size_t t = 0; t < tiles; ++t) r.tileStart[t + 1] += r.tileStart[t];
  r.tileCalls.resize(r.tileStart[tiles]);
  // Each tile's start moves along as its calls are placed, ending where the next tile starts.
  for (std::size_t i = 0; i < n; ++i) {
    if (!Reach(r, r.bounds[i], c0, c1, r0, r1)) continue;
    const uint64_t h = r.callHash[i];
    for (int64_t y = r0; y < r1; ++y) {
      for (int64_t x = c0; x < c1; ++x) {
        const auto t = static_cast<std::size_t>(y * r.columns + x);
        r.tileCalls[r.tileStart[t]++] = static_cast<uint32_t>(i);
        r.tileHash[t] = Mix(r.tileHash[t], h);
      }
    }
  }
  for (std::size_t t = tiles; t > 0; --t) r.tileStart[t] = r.tileStart[t - 1];
  r.tileStart[0] = 0;
  r.tiled = true;
}

bool Indexed(const DisplayList& list) {
  const FrameRegions& r = list.regions;
  return r.serial != 0 && r.bounds.size() == list.calls.size() &&
         r.callHash.size() == list.calls.size();
}

// More calls than this left unmatched between two frames: they are compared by tiles instead,
// which costs less than matching so much.
constexpr int64_t kMaxUnmatched = 256;

// Matches calls of `next` with equal calls of `shown` in order, leaving as few of either
// unmatched as can be (Myers' diff, after the common head and tail): `partner` holds, per call
// of `next`, its match in `shown` or -1. False when more than kMaxUnmatched would be left; the
// head and tail are matched even then.
bool Match(const std::vector<CanvasCall>& shown, const std::vector<CanvasCall>& next,
           std::vector<int32_t>& partner) {
  const auto n = static_cast<int64_t>(shown.size()), m = static_cast<int64_t>(next.size());
  partner.assign(static_cast<std::size_t>(m), -1);
  const auto pair = [&partner](int64_t x, int64_t y) {
    partner[static_cast<std::size_t>(y)] = static_cast<int32_t>(x);
  };
  int64_t lo = 0;
  while (lo < n && lo < m && shown[lo] == next[lo]) pair(lo, lo), ++lo;
  int64_t endA = n, endB = m;
  while (endA > lo && endB > lo && shown[endA - 1] == next[endB - 1]) pair(--endA, --endB);
  const int64_t na = endA - lo, nb = endB - lo;
  if (na == 0 || nb == 0) return na + nb <= kMaxUnmatched;
  const int64_t most = std::min(na + nb, kMaxUnmatched);
  // v[k]: the furthest x reached on diagonal k = x - y; trace keeps v[-d-1 .. d+1] before each d.
  std::vector<int64_t> v(static_cast<std::size_t>(2 * most + 3), 0);
  const int64_t mid = most + 1;
  std::vector<int64_t> trace;
  const auto at = [&](int64_t k) -> int64_t& { return v[static_cast<std::size_t>(mid + k)]; };
  for (int64_t d = 0; d <= most; ++d) {
    trace.insert(trace.end(), v.begin() + (mid - d - 1), v.begin() + (mid + d + 2));
    for (int64_t k = -d; k <= d; k += 2) {
      int64_t x = k == -d || (k != d && at(k - 1) < at(k + 1)) ? at(k + 1) : at(k - 1) + 1;
      int64_t y = x - k;
      while (x < na && y < nb && shown[lo + x] == next[lo + y]) ++x, ++y;
      at(k) = x;
      if (x < na || y < nb) continue;
      // Back from the end: each step undoes one unmatched call and the run of matches after it.
      for (int64_t e = d; e > 0; --e) {
        const int64_t base = e * e + 2 * e;  // where trace's window for step e begins
        const auto was = [&](int64_t j) {
          return trace[static_cast<std::size_t>(base + j + e + 1)];
        };
        const int64_t kk = x - y;
        const int64_t from = kk == -e || (kk != e && was(kk - 1) < was(kk + 1)) ? kk + 1 : kk - 1;
        const int64_t px = was(from), py = px - from;
        while (x > px && y > py) pair(lo + --x, lo + --y);
        x = px;
        y = py;
      }
      while (x > 0 && y > 0) pair(lo + --x, lo + --y);
      return true;
    }
  }
  return false;
}

// The frames' match when one was indexed from the other: the indexed frame and the other.
struct Matched {
  const FrameRegions* indexed = nullptr;
  const FrameRegions* other = nullptr;
};

Matched MatchBetween(const DisplayList& shown, const DisplayList& next) {
  if (!Indexed(shown) || !Indexed(next)) return {};
  if (next.regions.comparedTo == shown.regions.serial) return {&next.regions, &shown.regions};
  if (shown.regions.comparedTo == next.regions.serial) return {&shown.regions, &next.regions};
  return {};
}

}  // namespace

void IndexFrame(DisplayList& list, const platform::TextMetrics& metrics, int64_t width,
                int64_t height, DisplayList* previous) {
  static uint64_t serials = 0;
  FrameRegions& r = list.regions;
  r.width = std::max<int64_t>(width, 0);
  r.height = std::max<int64_t>(height, 0);
  r.serial = ++serials;
  r.comparedTo = 0;
  r.added.clear();
  r.removed.clear();
  r.tiled = false;
  r.screenOnly = true;
  r.columns = (r.width + kDamageTile - 1) / kDamageTile;
  r.rows = (r.height + kDamageTile - 1) / kDamageTile;
  const std::size_t n = list.calls.size();
  r.bounds.resize(n);
  r.callHash.resize(n);
  const bool sameSize = previous != nullptr && Indexed(*previous) &&
                        previous->regions.width == r.width && previous->regions.height == r.height;
  std::vector<int32_t> partner;
  const bool matched = sameSize && Match(previous->calls, list.calls, partner);
  if (!sameSize) partner.assign(n, -1);
  std::vector<uint8_t> kept(sameSize ? previous->calls.size() : 0, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const CanvasCall& c = list.calls[i];
    if (OffScreen(c)) r.screenOnly = false;
    if (partner[i] >= 0) {
      const auto j = static_cast<std::size_t>(partner[i]);
      r.bounds[i] = previous->regions.bounds[j];
      r.callHash[i] = previous->regions.callHash[j];
      kept[j] = 1;
    } else {
      r.bounds[i] = BoundsOf(c, metrics);
      r.callHash[i] = HashOf(c);
      r.added.push_back(static_cast<uint32_t>(i));
    }
  }
  if (matched) {
    r.comparedTo = previous->regions.serial;
    for (std::size_t j = 0; j < kept.size(); ++j) {
      if (!kept[j]) r.removed.push_back(static_cast<uint32_t>(j));
    }
    return;
  }
  r.added.clear();
  Tile(r);
  if (sameSize && !previous->regions.tiled) Tile(previous->regions);
}

bool SameCalls(const DisplayList& shown, const DisplayList& next) {
  const Matched m = MatchBetween(shown, next);
  if (m.indexed == nullptr) return shown.calls == next.calls;
  return m.indexed->added.empty() && m.indexed->removed.empty();
}

bool FindDamage(const DisplayList& shown, const DisplayList& next, std::vector<Rect>& rects) {
  rects.clear();
  const FrameRegions& a = shown.regions;
  const FrameRegions& b = next.regions;
  if (!a.screenOnly || !b.screenOnly || a.width != b.width || a.height != b.height) return false;
  if (a.width == 0 || a.height == 0 || a.bounds.size() != shown.calls.size() ||
      b.bounds.size() != next.calls.size()) {
    return false;
  }
  const auto tiles = static_cast<std::size_t>(b.columns * b.rows);
  std::vector<uint8_t> damaged(tiles, 0);
  bool any = false;
  if (const Matched m = MatchBetween(shown, next); m.indexed != nullptr) {
    // Only the tiles under a call left unmatched, in either frame: elsewhere the same calls
    // paint in the same order.
    int64_t c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    const auto mark = [&](const FrameRegions& frame, const std::vector<uint32_t>& calls) {
      for (uint32_t i : calls) {
        if (!Reach(b, frame.bounds[i], c0, c1, r0, r1)) continue;
        any = true;
        for (int64_t y = r0; y < r1; ++y) {
          for (int64_t x = c0; x < c1; ++x)
            damaged[static_cast<std::size_t>(y * b.columns + x)] = 1;
        }
      }
    };
    mark(*m.indexed, m.indexed->added);
    mark(*m.other, m.indexed->removed);
  } else {
    if (!a.tiled || !b.tiled) return false;
    PairMemo memo(next.calls.size());
    for (std::size_t t = 0; t < tiles; ++t) {
      damaged[t] = TileDiffers(shown, next, t, memo) ? 1 : 0;
      any = any || damaged[t] != 0;
    }
  }
  if (!any) return true;
  if (!TileRects(b, damaged, rects)) {
    rects.clear();
    return false;
  }
  for (Rect& t : rects) {  // tiles to pixels, the last column and row cut at the client's edge
    const int64_t x0 = t.x * kDamageTile, y0 = t.y * kDamageTile;
    const int64_t x1 = std::min((t.x + t.w) * kDamageTile, b.width);
    const int64_t y1 = std::min((t.y + t.h) * kDamageTile, b.height);
    t = Rect{x0, y0, x1 - x0, y1 - y0};
  }
  MergeRects(rects);
  int64_t covered = 0;
  for (const Rect& t : rects) covered += Area(t);
  if (static_cast<double>(covered) > kFullReplayShare * static_cast<double>(b.width * b.height)) {
    rects.clear();
    return false;
  }
  return true;
}

void ReplayDamage(const DisplayList& list, const std::vector<Rect>& rects,
                  platform::Canvas& target) {
  const FrameRegions& r = list.regions;
  Replayer replayer(target);
  if (!rects.empty()) target.SetClip(rects.data());
  // One frame begun for all the rectangles: the list draws only on the screen.
  target.BeginDrawing(nullptr);
  for (const Rect& rect : rects) {
    target.SetClip(&rect);
    for (std::size_t i = 0; i < list.calls.size(); ++i) {
      if (Empty(r.bounds[i]) || !Overlap(r.bounds[i], rect)) continue;
      replayer.Draw(list.calls[i]);
    }
  }
  target.SetClip(nullptr);
  target.EndDrawing();
  target.SetPresentRects(rects.data(), static_cast<int>(rects.size()));
}

}  // namespace render
