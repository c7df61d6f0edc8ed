// The save file keno_save.dat: its 372-byte little-endian image, loading with every rejection and
// repair rule, crash-safe saving that falls back to the data folder, deletion on a full reset, and
// where the file lives. Reaches files only through the seam's files service; the image and its
// decoder need none, so the loader is fuzzed over bytes alone.
// Touches only the saved fields, the cards' picks and the not-saved notice of the game record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/file_service.h"
#include "rules/game_state.h"

namespace shell {

constexpr std::size_t kSaveFileSize = 372;
constexpr uint32_t kSaveMagic = 0x4B454E4F;  // "ONEK" on disk
constexpr int32_t kSaveVersion = 7;
constexpr const char* kSaveFileName = "keno_save.dat";

using SaveImage = std::array<uint8_t, kSaveFileSize>;

// The file image of the saved fields and picks. Figures beyond the 32-bit range are written
// saturated (never wrapped), and the checksum covers the values as written.
SaveImage EncodeSave(const rules::GameState& g);

// Gives the saved fields their first-start values (rules::RestoreFirstStartSettings) and the cards
// no picks.
void ApplySaveDefaults(rules::GameState& g);

// Loads a file image into the saved fields and the cards' picks, repairing out-of-range values.
// A wrong size, magic, version or checksum gives the defaults instead, and false. Either way every
// card ends with 0..12 picks, no hits, and a pickCount that matches its flags.
bool DecodeSave(std::span<const uint8_t> bytes, rules::GameState& g);

// Writes the game to `path` at once; false (and the old file untouched) when it cannot.
bool SaveGame(platform::FileService& files, const rules::GameState& g, const std::string& path);

// Start-up load from `path`: true when the file was accepted, false when the defaults were used
// (missing, unreadable or rejected file). The caller then refreshes the pay table and counts.
bool LoadGame(platform::FileService& files, rules::GameState& g, const std::string& path);

// Part of a full reset: removes the file when it exists and is not empty. A link the player made
// to their own file elsewhere is kept and its file emptied instead, so later saves still go there.
void DeleteSaveFile(platform::FileService& files, const std::string& path);

// Where the game's saves go for the rest of the run.
struct SaveSpot {
  std::string path;      // the file the next save writes; empty: there is nowhere to save
  std::string dataPath;  // the per-user data folder's file, taken once `path` fails; empty: none
  bool failing = false;  // the last save was written nowhere, and the player has been told
  std::string loaded;    // the save start-up loaded; empty: none, the game started afresh
};

constexpr const char* kNotSavedTitle = "NOT SAVED";
constexpr const char* kNotSavedText = "Could not write the save file";

// The one save routine of the running game. Writes where `spot` says; when that fails, in the
// data folder from then on; when it can be written nowhere, says so once in the stats panel's
// notice and tries again at the next call, and a later success takes the notice away. True when
// the game was written.
bool SaveGame(platform::FileService& files, rules::GameState& g, SaveSpot& spot, int64_t nowMs);

// True when the executable in `exeDir` is installed: it sits in a folder named bin or games whose
// parent holds share/applications/com.brindlec.tessaline.desktop.
bool IsInstalledLayout(platform::FileService& files, const std::string& exeDir);

// Start-up: clears away what killed saves left in the game's save folders, loads the newest good
// save found beside the executable (a game run from its build or unpacked folder; only a file the
// player owns) or in the per-user data folder (or gives the defaults), and returns where saves
// go: beside the executable when it is not installed and its folder can be written, else in the
// data folder, which also takes over for good once it holds the newer game. A save that is there
// but cannot be read, or belongs to someone else, is never loaded nor replaced.
SaveSpot OpenSaves(platform::FileService& files, rules::GameState& g, const std::string& exeDir,
                   bool installed);

}  // namespace shell
