// The recall file keno_recall.dat, kept in whichever folder the save goes: read once at start,
// replaced whole after each finished draw, removed when the recall is cleared. Its format is
// rules/recall.h's; files are reached only through the seam's files service. A recall file that
// cannot be read or written never stops the game and never touches the save.
#pragma once

#include <string>

#include "platform/file_service.h"
#include "rules/game_state.h"
#include "rules/recall.h"
#include "shell/save.h"

namespace shell {

constexpr const char* kRecallFileName = "keno_recall.dat";

// The recall file in the folder of the file at `savePath`; empty when `savePath` is.
std::string RecallPathBeside(const std::string& savePath);

// Reads the recall at `path` into `recall`. Anything but a good file of this user's (none,
// unreadable, someone else's, too long, damaged) leaves it empty, and a problem other than kNone
// says why the file was refused; a file that is not there or not this user's is kNone.
rules::RecallProblem LoadRecall(platform::FileService& files, const std::string& path,
                                rules::Recall& recall);

// Start-up, once the saves are open: the recall beside the save that was loaded, or beside where
// saves go when none was.
void OpenRecall(platform::FileService& files, const SaveSpot& spot, rules::Recall& recall);

// Replaces the file at `path` with `recall`; an empty recall removes it instead (a link to the
// player's own file elsewhere is kept, and that file emptied). False when that failed.
bool StoreRecall(platform::FileService& files, const rules::Recall& recall,
                 const std::string& path);

// The running game's: beside wherever the save now goes, making the data folder first when that
// is where. False when it could be written nowhere; nobody is told, as the next draw tries again.
bool StoreRecall(platform::FileService& files, const rules::Recall& recall, const SaveSpot& spot);

}  // namespace shell
