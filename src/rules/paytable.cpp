// Pay tables. Entries are dollars for a $1 bet; the paid amount is entry x betPerCard.
#include "rules/paytable.h"

#include <cstring>

namespace rules {
namespace {

// One row per spot count 1..12, hits 1..12; hits 0 never pays.
constexpr int64_t kGenerous[12][12] = {
    {3},
    {0, 12},
    {0, 2, 42},
    {0, 2, 10, 100},
    {0, 0, 5, 35, 450},
    {0, 0, 3, 15, 100, 1600},
    {0, 0, 2, 10, 50, 400, 7000},
    {0, 0, 0, 5, 25, 150, 1500, 25000},
    {0, 0, 0, 2, 10, 75, 500, 5000, 50000},
    {0, 0, 0, 0, 5, 40, 200, 2000, 20000, 200000},
    {0, 0, 0, 0, 3, 20, 100, 1000, 10000, 100000, 500000},
    {0, 0, 0, 0, 0, 10, 50, 500, 5000, 50000, 250000, 1000000},
};

constexpr int64_t kCasino[12][12] = {
    {3},
    {0, 12},
    {0, 1, 42},
    {0, 1, 4, 120},
    {0, 0, 2, 20, 750},
    {0, 0, 1, 7, 80, 1500},
    {0, 0, 0, 2, 20, 400, 7000},
    {0, 0, 0, 0, 10, 80, 1500, 10000},
    {0, 0, 0, 0, 5, 50, 300, 4000, 25000},
    {0, 0, 0, 0, 2, 20, 132, 1000, 4500, 100000},
    {0, 0, 0, 0, 0, 10, 60, 250, 2500, 25000, 125000},
    {0, 0, 0, 0, 0, 5, 25, 150, 1000, 5000, 25000, 150000},
};

void Fill(PayTable& table, const int64_t (&rows)[12][12]) {
  std::memset(table, 0, sizeof table);
  for (int spots = 1; spots <= kMaxPicks; ++spots) {
    for (int hits = 1; hits <= spots; ++hits) table[spots][hits] = rows[spots - 1][hits - 1];
  }
}

}  // namespace

void FillPayTables(GameState& g) {
  Fill(g.payTableGenerous, kGenerous);
  Fill(g.payTableCasino, kCasino);
  RefreshActivePayTable(g);
}

void RefreshActivePayTable(GameState& g) {
  const PayTable& source = g.payMode == GENEROUS ? g.payTableGenerous : g.payTableCasino;
  std::memcpy(g.payTableActive, source, sizeof g.payTableActive);
}

void ToggleMode(GameState& g, int64_t nowMs) {
  g.payMode = 1 - g.payMode;
  RefreshActivePayTable(g);
  RequestSave(g, nowMs);
}

namespace {

// What a card pays: the table's entry for a $1 bet times the bet. Every payout is asked here.
int64_t Entry(const PayTable& table, int64_t bet, int64_t spots, int64_t hits) {
  if (spots < 1 || spots > kMaxPicks || hits < 0 || hits > spots) return 0;
  return table[spots][hits] * bet;
}

}  // namespace

int64_t LookupPayout(const GameState& g, int64_t spots, int64_t hits) {
  return Entry(g.payTableActive, g.betPerCard, spots, hits);
}

int64_t PayoutAt(const GameState& g, int64_t mode, int64_t bet, int64_t spots, int64_t hits) {
  return Entry(mode == GENEROUS ? g.payTableGenerous : g.payTableCasino, bet, spots, hits);
}

}  // namespace rules
