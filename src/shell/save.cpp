// Save file image, load and save. Files are reached only through platform/files.h, which keeps
// this code free of OS headers and lets the loader run under the fuzzer without SDL.
#include "shell/save.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/files.h"

namespace shell {
namespace {

constexpr std::size_t kFieldsOffset = 8;
constexpr std::size_t kFieldCount = 10;
constexpr std::size_t kPicksOffset = kFieldsOffset + 4 * kFieldCount;                    // 48
constexpr std::size_t kChecksumOffset = kPicksOffset + rules::kCards * rules::kNumbers;  // 368
static_assert(kChecksumOffset + 4 == kSaveFileSize);

using Fields = std::array<int32_t, kFieldCount>;

// The one place that fixes the order of the ten number fields in the file.
enum Field { kBalance, kGenWon, kGenBet, kCasWon, kCasBet, kBet, kPayMode, kPot, kSpeed, kSound };

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void PutLe32(uint8_t* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLe32(const uint8_t* in) {
  return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
         static_cast<uint32_t>(in[2]) << 16 | static_cast<uint32_t>(in[3]) << 24;
}

// Unsigned arithmetic gives the 32-bit wrap-around without signed overflow.
uint32_t Checksum(const Fields& fields) {
  uint32_t sum = 0;
  for (int32_t value : fields) sum += static_cast<uint32_t>(value);
  return sum ^ kSaveMagic;
}

std::size_t PickOffset(int card, int number) {
  return kPicksOffset + static_cast<std::size_t>(card - 1) * rules::kNumbers +
         static_cast<std::size_t>(number - 1);
}

// Hand-made or damaged files are brought back within the game's ranges. Real saves never need
// more than the balance, pot and bet repairs, which keep the player able to play.
void Sanitise(rules::GameState& g) {
  if (g.balance < 1) g.balance = rules::kStartingBalance;
  for (int64_t* lifetime : {&g.genWon, &g.genBet, &g.casWon, &g.casBet}) {
    if (*lifetime < 0) *lifetime = 0;
  }
  if (g.betPerCard < rules::kMinBet || g.betPerCard > rules::kMaxBet) g.betPerCard = rules::kMinBet;
  g.betSetting = g.betPerCard;
  // The game treats every non-zero mode as CASINO; the mode swap needs exactly 0 or 1.
  if (g.payMode != rules::GENEROUS) g.payMode = rules::CASINO;
  if (g.progressivePot < g.progressiveSeed) g.progressivePot = g.progressiveSeed;
  if (g.speed < 1 || g.speed > 5) g.speed = rules::kDefaultSpeed;
  if (g.soundOn != 0 && g.soundOn != 1) g.soundOn = 1;
}

// Pick bytes are outside the checksum, so a damaged file can hold any byte and any count. Any
// non-zero byte is a pick; past the twelfth on a card the rest are dropped, keeping the lowest
// numbers, so the money and settings of an otherwise good file are not lost over them.
void LoadPicks(std::span<const uint8_t> bytes, rules::GameState& g) {
  for (int c = 1; c <= rules::kCards; ++c) {
    rules::ClearCard(g, c);
    for (int n = 1; n <= rules::kNumbers && g.cards[c].pickCount < rules::kMaxPicks; ++n) {
      if (bytes[PickOffset(c, n)] != 0) rules::SetPick(g, c, n, true);
    }
  }
}

}  // namespace

SaveImage EncodeSave(const rules::GameState& g) {
  Fields fields{};
  fields[kBalance] = Saturate(g.balance);
  fields[kGenWon] = Saturate(g.genWon);
  fields[kGenBet] = Saturate(g.genBet);
  fields[kCasWon] = Saturate(g.casWon);
  fields[kCasBet] = Saturate(g.casBet);
  fields[kBet] = Saturate(g.betPerCard);
  fields[kPayMode] = Saturate(g.payMode);
  fields[kPot] = g.progressivePot;
  fields[kSpeed] = Saturate(g.speed);
  fields[kSound] = Saturate(g.soundOn);

  SaveImage image{};
  PutLe32(&image[0], kSaveMagic);
  PutLe32(&image[4], static_cast<uint32_t>(kSaveVersion));
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    PutLe32(&image[kFieldsOffset + 4 * i], static_cast<uint32_t>(fields[i]));
  }
  for (int c = 1; c <= rules::kCards; ++c) {
    for (int n = 1; n <= rules::kNumbers; ++n) {
      image[PickOffset(c, n)] = g.cards[c].picked[n] != 0 ? 1 : 0;
    }
  }
  PutLe32(&image[kChecksumOffset], Checksum(fields));
  return image;
}

void ApplySaveDefaults(rules::GameState& g) {
  g.balance = rules::kStartingBalance;
  g.genWon = g.genBet = g.casWon = g.casBet = 0;
  g.betPerCard = g.betSetting = rules::kMinBet;
  g.payMode = rules::GENEROUS;
  g.progressivePot = g.progressiveSeed;
  g.speed = rules::kDefaultSpeed;
  g.soundOn = 1;
  for (int c = 1; c <= rules::kCards; ++c) rules::ClearCard(g, c);
}

bool DecodeSave(std::span<const uint8_t> bytes, rules::GameState& g) {
  if (bytes.size() != kSaveFileSize || GetLe32(&bytes[0]) != kSaveMagic ||
      static_cast<int32_t>(GetLe32(&bytes[4])) != kSaveVersion) {
    ApplySaveDefaults(g);
    return false;
  }
  Fields fields{};
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    fields[i] = static_cast<int32_t>(GetLe32(&bytes[kFieldsOffset + 4 * i]));
  }
  if (Checksum(fields) != GetLe32(&bytes[kChecksumOffset])) {
    ApplySaveDefaults(g);
    return false;
  }
  g.balance = fields[kBalance];
  g.genWon = fields[kGenWon];
  g.genBet = fields[kGenBet];
  g.casWon = fields[kCasWon];
  g.casBet = fields[kCasBet];
  g.betPerCard = fields[kBet];
  g.payMode = fields[kPayMode];
  g.progressivePot = fields[kPot];
  g.speed = fields[kSpeed];
  g.soundOn = fields[kSound];
  Sanitise(g);
  LoadPicks(bytes, g);
  return true;
}

bool SaveGame(const rules::GameState& g, const std::string& path) {
  const SaveImage image = EncodeSave(g);
  return platform::WriteFileAtomic(path, image);
}

bool LoadGame(rules::GameState& g, const std::string& path) {
  std::vector<uint8_t> bytes;
  // Anything longer than a save is rejected anyway, so it is never read whole.
  if (platform::ReadFile(path, bytes, kSaveFileSize) != platform::ReadStatus::kRead) {
    ApplySaveDefaults(g);
    return false;
  }
  return DecodeSave(bytes, g);
}

void DeleteSaveFile(const std::string& path) {
  if (platform::FileSize(path) > 0) platform::DeleteFile(path);
}

std::string ChooseSavePath(const std::string& exeDir) {
  std::string dir = exeDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  if (!platform::IsDirWritable(dir)) {
    const std::string dataDir = platform::XdgDataDir();
    if (!dataDir.empty()) return dataDir + kSaveFileName;
  }
  // Also the last resort when neither place works: saving then fails quietly, loading gives
  // the defaults.
  return dir + kSaveFileName;
}

std::string ChooseSavePath() { return ChooseSavePath(platform::ExecutableDir()); }

std::string SaveToLoad(const std::string& savePath, const std::string& exeDir) {
  if (exeDir.empty() || platform::FileSize(savePath) >= 0) return savePath;
  std::string beside = exeDir;
  if (beside.back() != '/') beside += '/';
  beside += kSaveFileName;
  return platform::FileSize(beside) > 0 ? beside : savePath;
}

}  // namespace shell
