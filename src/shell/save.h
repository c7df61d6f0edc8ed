// The save file keno_save.dat: its 372-byte little-endian image, loading with every rejection and
// repair rule, crash-safe saving, deletion on a full reset, and where the file lives.
// Touches only the saved fields and the cards' picks of the game record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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

// Gives the saved fields and the cards their first-start values: balance 1000, no lifetime
// figures, bet 1, GENEROUS, the pot at its seed, speed 3, sound on, no picks.
void ApplySaveDefaults(rules::GameState& g);

// Loads a file image into the saved fields and the cards' picks, repairing out-of-range values.
// A wrong size, magic, version or checksum gives the defaults instead, and false. Either way every
// card ends with 0..12 picks, no hits, and a pickCount that matches its flags.
bool DecodeSave(std::span<const uint8_t> bytes, rules::GameState& g);

// Writes the game to `path` at once; false (and the old file untouched) when it cannot.
bool SaveGame(const rules::GameState& g, const std::string& path);

// Start-up load from `path`: true when the file was accepted, false when the defaults were used
// (missing, unreadable or rejected file). The caller then refreshes the pay table and counts.
bool LoadGame(rules::GameState& g, const std::string& path);

// Part of a full reset: removes the file when it exists and is not empty.
void DeleteSaveFile(const std::string& path);

// Where the save file lives: beside the executable when that directory is writable, else in the
// per-user data directory. An empty directory falls back the same way.
std::string ChooseSavePath(const std::string& exeDir);
std::string ChooseSavePath();

// The file start-up loads: the save at `savePath`, or, while there is none there yet, the one an
// earlier run left beside the executable before its folder stopped being writable, so a player
// never finds their game gone because the save had to move.
std::string SaveToLoad(const std::string& savePath, const std::string& exeDir);

}  // namespace shell
