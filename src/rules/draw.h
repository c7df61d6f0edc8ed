// One keno game: charge the playing cards, draw 20 distinct numbers, reveal them one per ball
// delay, pay every card from the active table, and chain the next game while auto-run is on.
// The shell calls StartDraw from input and the two ticks from its frame timers.
#pragma once

#include <cstdint>

#include "rules/game_state.h"
#include "rules/host.h"

namespace rules {

constexpr int64_t kAutoRunPauseMs = 1500;  // between auto-run's draws below kFirstUnpausedSpeed

// Milliseconds between reveals at speed kMinSpeed..kMaxSpeed; 0 for any other speed.
int64_t BallDelayForSpeed(int64_t speed);

// Begins a game unless one is running. Selects the Main tab, refuses with a box when no card
// holds picks, runs the funds check, takes the stake and draws the sequence; the first ball
// comes on the next RevealTick.
void StartDraw(GameState& g, Host& host);

// Every frame: reveals one ball once ballDelayMs has passed since the last one, or, one delay
// after the 20th ball, ends the game (evaluation, save request, auto-run follow-up). Never
// catches up: after a long stall it still does one step.
void RevealTick(GameState& g, Host& host, int64_t nowMs);

// Every frame: starts the next auto-run game once its kAutoRunPauseMs pause is over, unless
// auto-run was stopped meanwhile.
void AutoRunTick(GameState& g, Host& host, int64_t nowMs);

// Pays every card from the active table, updates the statistics, starts the fanfare or win
// jingle, and settles the jackpot box, the progressive pot and the consolation.
void EvaluateDraw(GameState& g, Host& host);

}  // namespace rules
