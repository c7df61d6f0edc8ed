// Random numbers for the draw and the random auto-pick: the system's secure source when it opened
// at start, otherwise a general-purpose generator whose state lives in the game record.
#pragma once

#include <cstdint>

#include "rules/game_state.h"
#include "rules/host.h"

namespace rules {

// A uniform integer in 1..n (n up to 2^32; any n below 1 yields 1). Uses one secure word when
// secureRandomAvailable is set; a failed read falls back to the generator for that call only.
int64_t RandomNumber(GameState& g, Host& host, int64_t n);

// A uniform integer in 1..n from the fallback generator alone, seeding it on first use.
int64_t FallbackRandomNumber(GameState& g, Host& host, int64_t n);

// A number in 1..80 whose flag in taken[1..80] is clear; at least one must be clear. Repeats are
// drawn again, and after a long run of them the fallback generator takes over, so a source that
// keeps returning one word cannot hang the caller.
int64_t RandomUnusedNumber(GameState& g, Host& host, const uint8_t (&taken)[kNumbers + 1]);

// Seeds the fallback generator so its sequence is repeatable (tests, benchmarks).
void SeedFallbackRandom(GameState& g, uint64_t seed);

}  // namespace rules
