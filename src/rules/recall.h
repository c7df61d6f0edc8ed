// The recall of the last finished draws, so that a player can check what the game did: each draw
// recorded as it ends, read back newest first, and the recall file's byte image. Bytes only, no
// files: the shell keeps the file (shell/recall_file.h) and tessaline-odds prints it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "rules/game_state.h"

namespace rules {

// The recall file, little-endian: magic, version, the CRC-32 of every byte after these three
// fields, then the number of draws and the draws themselves, newest first, each kRecallDrawSize
// bytes. Every value in it is one the game could have recorded, or the whole file is refused.
constexpr uint32_t kRecallMagic = 0x4C43524B;  // "KRCL" on disk
constexpr uint32_t kRecallVersion = 1;
constexpr std::size_t kRecallHeaderSize = 12;  // magic, version, checksum
constexpr std::size_t kRecallCountSize = 4;
constexpr std::size_t kRecallCardSize = 41;
constexpr std::size_t kRecallDrawSize = 37 + kCards * kRecallCardSize;  // 201
constexpr std::size_t kRecallMaxFileSize =
    kRecallHeaderSize + kRecallCountSize + kRecallDraws * kRecallDrawSize;

// Called once the draw in `g` has been evaluated (paid, prizes settled): adds it as the newest,
// with every card that played it, and pushes out the oldest of a full recall. `endedAt` is the
// wall-clock time in seconds since the epoch.
void RecordDraw(const GameState& g, Recall& recall, int64_t endedAt);

// Recalled draw `i`, 0 the newest, up to recall.count - 1.
const RecallDraw& RecalledDraw(const Recall& recall, int64_t i);

// Why a recall file was refused.
enum class RecallProblem {
  kNone,         // accepted
  kShort,        // fewer bytes than its header and count need
  kLong,         // more bytes than that
  kBadMagic,     // not a recall file
  kBadVersion,   // a recall file of another version of the game
  kBadChecksum,  // its bytes were changed after it was written
  kBadValue,     // a value the game cannot have recorded
};

// A few words for a message, e.g. "too short".
const char* RecallProblemText(RecallProblem problem);

// The whole file image, draws newest first.
std::vector<uint8_t> EncodeRecall(const Recall& recall);

// Reads a file image into `recall`. An empty file is an empty recall. Any other file must be
// whole, checksummed and hold only values the game records; otherwise `recall` is left empty and
// the reason returned.
RecallProblem DecodeRecall(std::span<const uint8_t> bytes, Recall& recall);

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320).
uint32_t Crc32(std::span<const uint8_t> bytes);

}  // namespace rules
