// The recall file through the files service: whole-file reads and atomic replaces, as the save's.
#include "shell/recall_file.h"

#include <cstdint>
#include <vector>

namespace shell {

std::string RecallPathBeside(const std::string& savePath) {
  if (savePath.empty()) return {};
  const std::size_t slash = savePath.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : savePath.substr(0, slash + 1);
  return dir + kRecallFileName;
}

rules::RecallProblem LoadRecall(platform::FileService& files, const std::string& path,
                                rules::Recall& recall) {
  recall = rules::Recall{};
  if (path.empty()) return rules::RecallProblem::kNone;
  std::vector<uint8_t> bytes;
  platform::FileFacts facts;
  switch (files.ReadFile(path, bytes, rules::kRecallMaxFileSize, &facts)) {
    case platform::ReadStatus::kRead:
      // Another user's draws are not this player's to recall.
      if (!facts.ownedByUser) return rules::RecallProblem::kNone;
      return rules::DecodeRecall(bytes, recall);
    case platform::ReadStatus::kTooLong:
      return rules::RecallProblem::kLong;
    case platform::ReadStatus::kAbsent:
    case platform::ReadStatus::kUnreadable:
      break;
  }
  return rules::RecallProblem::kNone;
}

void OpenRecall(platform::FileService& files, const SaveSpot& spot, rules::Recall& recall) {
  LoadRecall(files, RecallPathBeside(spot.loaded.empty() ? spot.path : spot.loaded), recall);
}

bool StoreRecall(platform::FileService& files, const rules::Recall& recall,
                 const std::string& path) {
  if (path.empty()) return false;
  if (recall.count > 0) return files.WriteFileAtomic(path, rules::EncodeRecall(recall));
  const int64_t size = files.FileSize(path);
  if (size == 0) return true;  // already reads as no draws
  // An empty file reads as no draws too, and the player's link stays where it points.
  if (size > 0 && files.ReplaceTarget(path) != path) return files.WriteFileAtomic(path, {});
  return files.DeleteFile(path);
}

bool StoreRecall(platform::FileService& files, const rules::Recall& recall, const SaveSpot& spot) {
  if (spot.path.empty()) return false;
  // The data folder is made only when something is first written there.
  if (spot.path == spot.dataPath && recall.count > 0 && files.XdgDataDir(true).empty()) {
    return false;
  }
  return StoreRecall(files, recall, RecallPathBeside(spot.path));
}

}  // namespace shell
