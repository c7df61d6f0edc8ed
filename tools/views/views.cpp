// The catalogue of views: each one a board played into place through the rules, as a player
// would reach it, from one fixed seed.
#include "views/views.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "rules/draw.h"
#include "rules/paytable.h"
#include "rules/picks.h"
#include "rules/random.h"
#include "rules/recall.h"
#include "shell/frame.h"
#include "shell/timers.h"

namespace views {
namespace {

constexpr uint64_t kSeed = 20261210;
constexpr int64_t kFrameMs = 16;
constexpr int64_t kClockAtStart = 1'000'000;          // ms, as SceneHost starts
constexpr int64_t kWallClockAtStart = 1'796'911'200;  // 2026-12-10 14:00:00 UTC

// The first `count` numbers from 1 up that the coming draw leaves out.
std::vector<int64_t> Missed(const std::array<int64_t, rules::kBallsPerDraw>& draw, int count) {
  std::vector<int64_t> out;
  for (int64_t n = 1; n <= rules::kNumbers && static_cast<int>(out.size()) < count; ++n) {
    if (std::find(draw.begin(), draw.end(), n) == draw.end()) out.push_back(n);
  }
  return out;
}

// The bet as the Bet/Card button leaves it: the control's copy and the game's together.
void SetBet(Scene& s, int64_t bet) { s.state.betSetting = s.state.betPerCard = bet; }

bool Idle(const Scene& s) { return !s.state.drawInProgress && !s.state.autoRun; }

// Some number of each kind the Main view tells apart.
bool MainShowsSharedAndHits(const Scene& s) {
  const rules::GameState& g = s.state;
  bool sharedHit = false, singleHit = false, sharedUndrawn = false, missedBall = false;
  for (int n = 1; n <= rules::kNumbers; ++n) {
    const bool shared = g.numberCardCount[n] >= 2;
    sharedHit = sharedHit || (g.drawn[n] && shared);
    singleHit = singleHit || (g.drawn[n] && g.numberCardCount[n] == 1);
    sharedUndrawn = sharedUndrawn || (!g.drawn[n] && shared);
    missedBall = missedBall || (g.drawn[n] && g.numberCardCount[n] == 0);
  }
  return g.activeTab == 0 && sharedHit && singleHit && sharedUndrawn && missedBall;
}

bool AfterDraw(const Scene& s) {
  return Idle(s) && s.state.ballsRevealed == rules::kBallsPerDraw && s.BallsFalling() == 0;
}

std::vector<View> MakeCatalogue() {
  return {
      {"card1-picks", "Card 1 with eight picks before any draw, speed Slow",
       [](Scene& s) {
         s.Pick(2, {7, 12, 60});
         s.Pick(1, {3, 7, 12, 18, 22, 35, 41, 56});
         s.state.speed = 2;
         rules::SelectTab(s.state, 1);
       },
       [](const Scene& s) { return s.state.activeTab == 1 && s.state.cards[1].pickCount == 8; }},

      {"main-shared-hits",
       "Main after a draw: numbers on several cards drawn (black asterisks) and not (white), "
       "single-card hits, missed balls",
       [](Scene& s) {
         const auto d = s.NextDraw();
         s.Pick(1, {d[0], d[1], d[2], 5, 9, 33, 47, 61});
         s.Pick(2, {d[0], d[1], d[3], 5, 70});
         s.Pick(3, {d[0], d[4], 9, 33, 80});
         s.state.speed = 5;
         s.PlayDraws(1);
         rules::SelectTab(s.state, 0);
       },
       [](const Scene& s) { return AfterDraw(s) && MainShowsSharedAndHits(s); }},

      {"main-heat-map", "Main with the heat map of six draws",
       [](Scene& s) {
         s.Pick(1, {5, 10, 15, 20, 25, 30, 35, 40});
         s.state.speed = 5;
         s.PlayDraws(6);
         rules::SelectTab(s.state, 0);
         s.state.heatMapOn = 1;  // a right click on the Main grid
       },
       [](const Scene& s) {
         return s.state.activeTab == 0 && s.state.heatMapOn && s.state.runs == 6;
       }},

      {"mid-draw", "Main mid-draw at Fastest: nine balls out, several still falling",
       [](Scene& s) {
         s.Pick(1, {3, 7, 12, 18, 22, 35, 41, 56});
         s.Pick(2, {7, 12, 19, 28, 35, 44, 63, 70, 77, 80});
         s.Pick(3, {1, 7, 12, 22, 50, 51, 52});
         s.state.speed = 5;
         rules::StartDraw(s.state, s.host);
         s.RunUntil([&s] { return s.state.ballsRevealed >= 9; });
       },
       [](const Scene& s) { return s.state.drawInProgress && s.BallsFalling() >= 2; }},

      {"after-draw", "Card 2 after three draws: its hits, the drawn balls, the wins in the panel",
       [](Scene& s) {
         s.Pick(2, {2, 9, 14, 23, 31, 38, 47, 55, 60, 66, 71, 79});
         s.Pick(1, {4, 8, 15, 16, 23, 42});
         s.state.speed = 5;
         s.PlayDraws(3);
         rules::SelectTab(s.state, 2);
       },
       [](const Scene& s) {
         return AfterDraw(s) && s.state.activeTab == 2 && s.state.cards[2].hitCount >= 1;
       }},

      {"payout-generous", "The payout table in GENEROUS mode at $1 a card",
       [](Scene& s) {
         s.Pick(1, {1, 2, 3});
         rules::SelectTab(s.state, 1);
         s.input.payoutOverlayOpen = 1;
       },
       [](const Scene& s) {
         return s.input.payoutOverlayOpen && s.state.payMode == rules::GENEROUS;
       }},

      {"payout-generous-bet10", "The payout table in GENEROUS mode at $10 a card",
       [](Scene& s) {
         SetBet(s, 10);
         rules::SelectTab(s.state, 1);
         s.input.payoutOverlayOpen = 1;
       },
       [](const Scene& s) {
         return s.input.payoutOverlayOpen && s.state.payMode == rules::GENEROUS &&
                s.state.betPerCard == 10;
       }},

      {"payout-casino", "The payout table in CASINO mode at $10 a card",
       [](Scene& s) {
         SetBet(s, 10);
         rules::ToggleMode(s.state, s.host.now);  // a right click on Payout Table
         rules::SelectTab(s.state, 1);
         s.input.payoutOverlayOpen = 1;
       },
       [](const Scene& s) {
         return s.input.payoutOverlayOpen && s.state.payMode == rules::CASINO;
       }},

      {"about", "The about and rules page",
       [](Scene& s) {
         rules::SelectTab(s.state, 1);
         s.input.aboutOverlayOpen = 1;
       },
       [](const Scene& s) { return s.input.aboutOverlayOpen != 0; }},

      {"card1-focus-ring", "Card 1 after a draw, the keyboard's focus ring on a hit cell",
       [](Scene& s) {
         const auto d = s.NextDraw();
         s.Pick(1, {d[0], d[1], d[2], 5, 9, 33, 47, 61});
         s.state.speed = 5;
         s.PlayDraws(1);
         rules::SelectTab(s.state, 1);
         s.input.focusShown = 1;  // an arrow key was used
         s.input.focusCell = d[1];
       },
       [](const Scene& s) {
         return AfterDraw(s) && s.state.activeTab == 1 &&
                s.state.cards[1].hit[s.input.focusCell] != 0;
       }},

      {"recall-empty", "The recall before any draw has finished",
       [](Scene& s) {
         rules::SelectTab(s.state, 1);
         s.input.recallOverlayOpen = 1;  // G, or a click on the cage
       },
       [](const Scene& s) { return s.input.recallOverlayOpen && s.state.recall.count == 0; }},

      {"recall-one-card", "The recall's second page of three: the draw before the last, one card",
       [](Scene& s) {
         s.Pick(2, {6, 13, 27, 38, 44, 59});
         s.state.speed = 5;
         s.PlayDraws(3);
         s.input.recallOverlayOpen = 1;
         s.input.recallPage = 1;  // one Right key
       },
       [](const Scene& s) {
         return s.input.recallOverlayOpen && s.state.recall.count == 3 &&
                rules::RecalledDraw(s.state.recall, 1).cardCount == 1;
       }},

      {"recall-jackpot", "The recall of a draw four cards played, one winning the progressive",
       [](Scene& s) {
         const auto d = s.NextDraw();
         s.Pick(1, {d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8], d[9]});
         s.Pick(2, {d[10], d[11], 3, 8, 70});
         s.Pick(3, {d[12], d[13], d[14], 1, 2, 4, 10, 20, 30, 40, 50, 60});
         s.Pick(4, {d[15], 80, 79});
         SetBet(s, 2);
         s.state.speed = 5;
         s.PlayDraws(1);
         // New Game YES: the recall stays; the set's figures, too wide for the stats panel at
         // large sizes after a jackpot, go.
         rules::ResetSet(s.state);
         s.input.recallOverlayOpen = 1;
       },
       [](const Scene& s) {
         const rules::RecallDraw& d = rules::RecalledDraw(s.state.recall, 0);
         return s.input.recallOverlayOpen && s.state.recall.count == 1 && d.cardCount == 4 &&
                d.cards[0].progressive > 0;
       }},

      {"recall-consolation", "The recall of a draw four 8-spot cards missed: the consolation",
       [](Scene& s) {
         const std::vector<int64_t> free = Missed(s.NextDraw(), 32);
         for (int card = 1; card <= rules::kCards; ++card) {
           s.Pick(card,
                  std::vector<int64_t>(free.begin() + (card - 1) * 8, free.begin() + card * 8));
         }
         s.state.speed = 5;
         s.PlayDraws(1);
         s.input.recallOverlayOpen = 1;
       },
       [](const Scene& s) {
         const rules::RecallDraw& d = rules::RecalledDraw(s.state.recall, 0);
         return s.input.recallOverlayOpen && d.cardCount == 4 && d.cards[3].consolation > 0;
       }},

      {"draw-idle", "A first start: empty cards, Card 1 showing, the Draw button idle",
       [](Scene& s) { rules::SelectTab(s.state, 1); },
       [](const Scene& s) { return Idle(s) && !s.input.drawButtonHeld; }},

      {"draw-pressed",
       "The Draw button held on an idle game, Main showing; sound muted, Slowest, $10 a card, "
       "CASINO",
       [](Scene& s) {
         s.Pick(1, {11, 22, 33, 44});
         s.state.soundOn = 0;
         s.state.speed = 1;
         SetBet(s, 10);
         rules::ToggleMode(s.state, s.host.now);
         rules::SelectTab(s.state, 0);
         s.input.drawButtonHeld = 1;  // the mouse is down on Draw Numbers
       },
       [](const Scene& s) { return Idle(s) && s.input.drawButtonHeld; }},

      {"draw-drawing", "A draw running at Fastest, $7 a card, Card 4's twelve picks showing",
       [](Scene& s) {
         s.Pick(4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
         s.state.speed = 5;
         SetBet(s, 7);
         rules::StartDraw(s.state, s.host);
         s.RunUntil([&s] { return s.state.ballsRevealed >= 4; });
         rules::SelectTab(s.state, 4);
       },
       [](const Scene& s) { return s.state.drawInProgress && !s.state.autoRun; }},

      {"draw-auto-run", "Auto-run at Fast, six balls into a draw",
       [](Scene& s) {
         s.Pick(1, {10, 20, 30, 40, 50});
         s.state.speed = 4;
         rules::StartDraw(s.state, s.host);
         s.state.autoRun = 1;  // the Draw button held for a second
         s.RunUntil([&s] { return s.state.ballsRevealed >= 6; });
       },
       [](const Scene& s) { return s.state.autoRun && s.state.drawInProgress; }},

      {"stats-jackpot", "Card 3 with ten picks after a draw: the progressive jackpot box",
       [](Scene& s) {
         s.Pick(3, {4, 9, 16, 25, 36, 49, 57, 64, 72, 78});
         s.state.speed = 5;
         s.PlayDraws(1);
         rules::SelectTab(s.state, 3);
       },
       [](const Scene& s) {
         return AfterDraw(s) && s.state.progressiveEligible && s.state.statusMessage.empty();
       }},

      {"stats-consolation", "Two 8-spot cards that caught nothing: the consolation notice",
       [](Scene& s) {
         const std::vector<int64_t> free = Missed(s.NextDraw(), 16);
         s.Pick(1, std::vector<int64_t>(free.begin(), free.begin() + 8));
         s.Pick(2, std::vector<int64_t>(free.begin() + 8, free.end()));
         s.state.speed = 5;
         s.PlayDraws(1);
       },
       [](const Scene& s) {
         return AfterDraw(s) && s.state.statusTitle == "CONSOLATION" &&
                !s.state.statusMessage.empty() && !s.state.progressiveEligible;
       }},

      {"stats-consolation-jackpot",
       "A 10-spot and an 8-spot card that caught nothing: the consolation notice under the "
       "progressive jackpot box",
       [](Scene& s) {
         const std::vector<int64_t> free = Missed(s.NextDraw(), 18);
         s.Pick(1, std::vector<int64_t>(free.begin(), free.begin() + 10));
         s.Pick(2, std::vector<int64_t>(free.begin() + 10, free.end()));
         s.state.speed = 5;
         s.PlayDraws(1);
       },
       [](const Scene& s) {
         return AfterDraw(s) && s.state.statusTitle == "CONSOLATION" &&
                !s.state.statusMessage.empty() && s.state.progressiveEligible;
       }},

      {"stats-picks-locked",
       "A click on Card 1 mid-draw: the picks-locked notice under its progressive jackpot box",
       [](Scene& s) {
         s.Pick(1, {2, 6, 13, 21, 27, 34, 45, 53, 68, 75});
         s.Pick(2, {8, 17, 29});
         rules::StartDraw(s.state, s.host);
         s.RunUntil([&s] { return s.state.ballsRevealed >= 5; });
         rules::SelectTab(s.state, 1);
         rules::TogglePick(s.state, 1, 40, s.host.now);  // refused: the card is in play
       },
       [](const Scene& s) {
         return s.state.drawInProgress && s.state.statusTitle == "PICKS LOCKED" &&
                s.state.progressiveEligible && s.state.cards[1].picked[40] == 0;
       }},
  };
}

}  // namespace

const std::vector<Size>& Sizes() {
  static const std::vector<Size> sizes = {
      {"1000x752", 1000, 752}, {"1280x780", 1280, 780}, {"2560x1440", 2560, 1440}};
  return sizes;
}

void SceneHost::ResetBallAnimation() { render::ResetBallAnimation(scene_.balls); }

void SceneHost::StartBallDrop(int64_t ball) {
  const render::Rect& panel = scene_.layout.ballsPanel;
  render::StartBallDrop(scene_.balls, panel.w, panel.h, ball, scene_.state.ballDelayMs, now);
}

Scene::Scene(platform::Canvas& c, int64_t width, int64_t height) : canvas(c), host(*this) {
  // The recall shows local times: UTC, so every machine records the same views.
  setenv("TZ", "UTC", 1);
  tzset();
  host.unixSeconds = kWallClockAtStart;
  layout.clientWidth = width;
  layout.clientHeight = height;
  // Fonts first, as a resize does: the balls panel image draws its title with them.
  render::LoadFonts(canvas, fonts, height);
  render::ComputeLayout(layout, canvas, balls, fonts);
  rules::FillPayTables(state);
  rules::RefreshActivePayTable(state);
  rules::SeedFallbackRandom(state, kSeed);
  // As the first frame at this size does, once the pay tables it measures are there.
  shell::FitOverlayFonts(canvas, fonts, layout, state);
}

void Scene::Pick(int card, const std::vector<int64_t>& numbers) {
  for (int64_t n : numbers) {
    if (!state.cards[card].picked[n]) rules::TogglePick(state, card, n, host.now);
  }
}

void Scene::RunUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 60 * 1000 / kFrameMs && !done(); ++i) {
    host.now += kFrameMs;
    host.unixSeconds = kWallClockAtStart + (host.now - kClockAtStart) / 1000;
    shell::TickTimers(state, balls, host);
  }
}

void Scene::PlayDraws(int count) {
  for (int i = 0; i < count; ++i) {
    rules::StartDraw(state, host);
    RunUntil([this] { return !state.drawInProgress && !balls.ballAnimActive; });
  }
}

std::array<int64_t, rules::kBallsPerDraw> Scene::NextDraw() const {
  rules::GameState copy = state;
  rules::QuietHost quiet;
  quiet.now = host.now;
  // A draw needs a card in play; which numbers it brings does not depend on the picks.
  rules::SetPick(copy, 1, 1, true);
  rules::StartDraw(copy, quiet);
  std::array<int64_t, rules::kBallsPerDraw> numbers{};
  for (int i = 0; i < rules::kBallsPerDraw; ++i) numbers[i] = copy.drawSequence[i];
  return numbers;
}

int64_t Scene::BallsFalling() const {
  int64_t falling = 0;
  for (int k = 1; k <= rules::kBallsPerDraw; ++k) falling += balls.ballAnims[k].falling ? 1 : 0;
  return falling;
}

render::BoardView Scene::View() const {
  return render::BoardView{state,
                           layout,
                           fonts,
                           balls,
                           input.payoutOverlayOpen != 0,
                           input.aboutOverlayOpen != 0,
                           input.drawButtonHeld != 0,
                           input.focusShown ? input.focusCell : 0,
                           input.recallOverlayOpen != 0,
                           input.recallPage};
}

const std::vector<View>& Catalogue() {
  static const std::vector<View> views = MakeCatalogue();
  return views;
}

render::HandleNames NamesOf(const Scene& s) {
  render::HandleNames names;
  const render::Fonts& f = s.fonts;
  const std::pair<const platform::Font*, const char*> fonts[] = {
      {f.gridNumberFont, "gridNumber"},
      {f.buttonFont, "button"},
      {f.tabFont, "tab"},
      {f.ballsTitleFont, "ballsTitle"},
      {f.overlayFont, "overlay"},
      {f.overlayTitleFont, "overlayTitle"},
      {f.aboutFont, "about"},
      {f.aboutTitleFont, "aboutTitle"},
      {f.payoutFont, "payout"},
      {f.recallFont, "recall"}};
  for (const auto& [font, role] : fonts) {
    if (font != nullptr) names.fonts[font] = role;
  }
  const render::Layout& l = s.layout;
  const std::pair<const platform::Image*, const char*> images[] = {
      {l.whiteAsterisk, "whiteAsterisk"},
      {l.blackAsterisk, "blackAsterisk"},
      {l.hitCross, "hitCross"},
      {s.balls.ballsPanelImage, "ballsPanelImage"}};
  for (const auto& [image, part] : images) {
    if (image != nullptr) names.images[image] = part;
  }
  return names;
}

}  // namespace views
