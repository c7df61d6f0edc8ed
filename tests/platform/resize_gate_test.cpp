// The resize gate on a drag's timeline: which sizes the game is told when, and when the frame
// loop must wake for a size held back.
#include "platform/sdl/resize_gate.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/system.h"

namespace {

using platform::GateDeadline;
using platform::GateSize;
using platform::kResizeSettleMs;
using platform::kResizeStepMs;
using platform::ResizeGate;

struct Told {
  int64_t width, height;
  bool operator==(const Told&) const = default;
};

Told Look(ResizeGate& gate, int64_t now, int64_t width, int64_t height) {
  GateSize(gate, now, width, height);
  return {width, height};
}

TEST(ResizeGate, ADragIsToldAtItsFirstSizeThenEveryStepAndAtItsLastOnceSettled) {
  ResizeGate gate;
  EXPECT_EQ(Look(gate, 0, 1002, 752), (Told{1002, 752})) << "the opening size at once";
  EXPECT_EQ(GateDeadline(gate), platform::kNoDeadline);
  const int64_t t0 = 10'000;
  EXPECT_EQ(Look(gate, t0, 1010, 760), (Told{1010, 760})) << "a drag's first size at once";
  std::vector<int64_t> toldAt;
  int64_t w = 1010;
  for (int64_t t = t0 + 50; t <= t0 + 1000; t += 50) {
    w += 4;
    if (Look(gate, t, w, 760).width == w) {
      toldAt.push_back(t);
      EXPECT_EQ(GateDeadline(gate), platform::kNoDeadline) << t;
    } else {
      EXPECT_LE(GateDeadline(gate), t + kResizeSettleMs) << "held, and woken for " << t;
    }
  }
  EXPECT_EQ(toldAt, (std::vector<int64_t>{t0 + 200, t0 + 400, t0 + 600, t0 + 800, t0 + 1000}));
  // The drag stops at t0 + 1050 with a size not told yet.
  w += 4;
  EXPECT_EQ(Look(gate, t0 + 1050, w, 760).width, w - 4);
  EXPECT_EQ(GateDeadline(gate), t0 + 1050 + kResizeSettleMs);
  EXPECT_EQ(Look(gate, t0 + 1050 + kResizeSettleMs - 1, w, 760).width, w - 4);
  EXPECT_EQ(Look(gate, t0 + 1050 + kResizeSettleMs, w, 760), (Told{w, 760}));
  EXPECT_FALSE(gate.holding);
  EXPECT_EQ(GateDeadline(gate), platform::kNoDeadline);
}

TEST(ResizeGate, ADragBackToTheToldSizeHoldsNothing) {
  ResizeGate gate;
  Look(gate, 0, 1000, 752);
  Look(gate, 5000, 1100, 800);
  EXPECT_EQ(Look(gate, 5050, 1200, 800), (Told{1100, 800}));
  EXPECT_TRUE(gate.holding);
  EXPECT_EQ(Look(gate, 5100, 1100, 800), (Told{1100, 800}));
  EXPECT_FALSE(gate.holding) << "no size left to show, no wake-up";
  EXPECT_EQ(GateDeadline(gate), platform::kNoDeadline);
}

TEST(ResizeGate, AStepIsDueEvenIfTheWindowIsNotLookedAtUntilLater) {
  ResizeGate gate;
  Look(gate, 0, 1000, 752);
  Look(gate, 5000, 1100, 800);
  Look(gate, 5040, 1104, 803);
  EXPECT_EQ(GateDeadline(gate), 5040 + kResizeSettleMs);
  Look(gate, 5100, 1108, 806);
  Look(gate, 5150, 1112, 809);
  EXPECT_EQ(GateDeadline(gate), 5000 + kResizeStepMs);
  EXPECT_EQ(Look(gate, 5900, 1112, 809), (Told{1112, 809}));
}

}  // namespace
