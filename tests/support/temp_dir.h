// A fresh directory under the system temp dir for one test, removed with everything in it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace testing_support {

inline std::filesystem::path MakeTempDir(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

inline void RemoveTempDir(const std::filesystem::path& dir) {
  std::error_code ignored;
  if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

}  // namespace testing_support
