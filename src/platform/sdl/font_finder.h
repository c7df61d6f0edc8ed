// Finds font files by family name through fontconfig, with the game's fallback faces.
// Only names files; opening and sizing fonts belongs to the canvas that draws with them.
#pragma once

#include <string>

namespace platform {

struct FontFile {
  std::string path;    // absolute file name
  int index = 0;       // face within a collection file
  std::string family;  // the family that matched, as installed
  bool bold = false;   // the file itself is bold; false means bold must be synthesised
};

// The installed file of exactly this family (case-insensitive) in the weight asked for.
// False when fontconfig only offers a substitute family.
bool FindFontFile(const std::string& family, bool bold, FontFile& out);

// `family` when installed, else Open Sans, else DejaVu Sans, else fontconfig's default sans
// face, else a well-known DejaVu path. False only when no font file is found at all.
// Answers are remembered, so a resize that reloads every font costs no new lookups.
bool ResolveFontFile(const std::string& family, bool bold, FontFile& out);

}  // namespace platform
