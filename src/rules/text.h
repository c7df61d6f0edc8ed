// Numbers in the game's texts: plain decimal digits between two fixed parts, "$25000",
// "Pick: Card 2 (8)". Built by appending to a fresh string, since g++ 12's release optimiser
// takes "text" + a temporary string for an overlapping copy and fails a build with warnings
// as errors.
#pragma once

#include <cstdint>
#include <string>

namespace rules {

inline std::string Joined(const char* before, int64_t number, const char* after = "") {
  std::string text(before);
  text += std::to_string(number);
  text += after;
  return text;
}

}  // namespace rules
