// Save file image, load and save. Files are reached only through the files service the caller
// hands in, which keeps this code free of OS headers and lets the loader run under the fuzzer
// without SDL or any file.
#include "shell/save.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "shell/recall_file.h"

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
  if (g.speed < rules::kMinSpeed || g.speed > rules::kMaxSpeed) g.speed = rules::kDefaultSpeed;
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
  rules::RestoreFirstStartSettings(g);
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

bool SaveGame(platform::FileService& files, const rules::GameState& g, const std::string& path) {
  const SaveImage image = EncodeSave(g);
  return files.WriteFileAtomic(path, image);
}

bool LoadGame(platform::FileService& files, rules::GameState& g, const std::string& path) {
  std::vector<uint8_t> bytes;
  // Anything longer than a save is rejected anyway, so it is never read whole.
  if (files.ReadFile(path, bytes, kSaveFileSize, nullptr) != platform::ReadStatus::kRead) {
    ApplySaveDefaults(g);
    return false;
  }
  return DecodeSave(bytes, g);
}

void DeleteSaveFile(platform::FileService& files, const std::string& path) {
  if (files.FileSize(path) <= 0) return;
  if (files.ReplaceTarget(path) != path) {
    files.WriteFileAtomic(path, {});  // read as no save; the link stays where it points
  } else {
    files.DeleteFile(path);
  }
}

namespace {

bool WriteTo(platform::FileService& files, const rules::GameState& g, const std::string& path,
             const SaveSpot& spot) {
  if (path.empty()) return false;
  // The data folder is made only when a save first goes there.
  if (path == spot.dataPath && files.XdgDataDir(true).empty()) return false;
  return SaveGame(files, g, path);
}

}  // namespace

bool SaveGame(platform::FileService& files, rules::GameState& g, SaveSpot& spot, int64_t nowMs) {
  bool saved = WriteTo(files, g, spot.path, spot);
  if (!saved && !spot.dataPath.empty() && spot.dataPath != spot.path &&
      WriteTo(files, g, spot.dataPath, spot)) {
    spot.path = spot.dataPath;
    saved = true;
  }
  if (saved) {
    if (spot.failing && g.statusTitle == kNotSavedTitle) g.statusMessage.clear();
    spot.failing = false;
  } else if (!spot.failing) {
    rules::SetStatus(g, kNotSavedTitle, kNotSavedText, nowMs);
    spot.failing = true;
  }
  return saved;
}

bool IsInstalledLayout(platform::FileService& files, const std::string& exeDir) {
  std::string dir = exeDir;
  while (!dir.empty() && dir.back() == '/') dir.pop_back();
  const std::size_t slash = dir.rfind('/');
  if (slash == std::string::npos) return false;
  const std::string folder = dir.substr(slash + 1);
  if (folder != "bin" && folder != "games") return false;
  const std::string prefix = dir.substr(0, slash);
  return files.FileSize(prefix + "/share/applications/com.brindlec.tessaline.desktop") >= 0;
}

namespace {

// One place a save may be found, as start-up finds it.
struct Found {
  std::string path;
  platform::ReadStatus status = platform::ReadStatus::kAbsent;
  platform::FileFacts facts;
  rules::GameState game;  // the loaded game when `good`
  bool good = false;      // a valid save the player may load
  bool keep = false;      // must never be replaced: unreadable, or someone else's
};

Found Look(platform::FileService& files, const std::string& path, bool needOwner,
           const rules::GameState& base) {
  Found f;
  f.path = path;
  if (path.empty()) return f;
  std::vector<uint8_t> bytes;
  f.status = files.ReadFile(path, bytes, kSaveFileSize, &f.facts);
  const bool foreign = needOwner && !f.facts.ownedByUser;
  f.keep = f.status == platform::ReadStatus::kUnreadable ||
           (foreign && f.status != platform::ReadStatus::kAbsent);
  if (f.status == platform::ReadStatus::kRead && !foreign) {
    f.game = base;
    f.good = DecodeSave(bytes, f.game);
  }
  return f;
}

}  // namespace

SaveSpot OpenSaves(platform::FileService& files, rules::GameState& g, const std::string& exeDir,
                   bool installed) {
  std::string beside;
  if (!exeDir.empty()) beside = exeDir + (exeDir.back() == '/' ? "" : "/") + kSaveFileName;
  const std::string dataDir = files.XdgDataDir(false);
  const std::string data = dataDir.empty() ? "" : dataDir + kSaveFileName;
  if (beside == data) beside.clear();

  // What a kill or a full disk left mid-save, of the save and of the recall beside it; never
  // under an install's prefix.
  for (const std::string& path : {beside, data}) {
    if (path.empty() || (path == beside && installed)) continue;
    files.RemoveStaleTemporaries(path);
    files.RemoveStaleTemporaries(RecallPathBeside(path));
  }

  const Found near = Look(files, beside, true, g);
  const Found far = Look(files, data, false, g);
  const Found* chosen = nullptr;
  if (near.good) chosen = &near;
  if (far.good && (chosen == nullptr || far.facts.modifiedNs > chosen->facts.modifiedNs)) {
    chosen = &far;
  }
  if (chosen != nullptr) {
    g = chosen->game;
  } else {
    ApplySaveDefaults(g);
  }

  const bool besideUsable =
      !beside.empty() && !near.keep && !installed && files.IsDirWritable(exeDir);
  const bool dataUsable = !data.empty() && !far.keep;
  SaveSpot spot;
  if (chosen != nullptr) spot.loaded = chosen->path;
  spot.dataPath = dataUsable ? data : "";
  if (besideUsable && chosen != &far) {
    spot.path = beside;
  } else if (dataUsable) {
    spot.path = data;
  } else if (besideUsable) {
    spot.path = beside;
  }
  return spot;
}

}  // namespace shell
