// Font lookup through fontconfig, remembering answers for the life of the process.
// Touches no SDL: the canvas opens whatever file this hands back.
#include "platform/sdl/font_finder.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <map>
#include <utility>

namespace platform {
namespace {

bool SameName(const std::string& a, const char* b) {
  std::string::size_type i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

FcConfig* Config() {
  // FcInit parses the font cache once; a failure leaves us on the hard-coded last resort.
  static const bool ready = FcInit() == FcTrue;
  return ready ? FcConfigGetCurrent() : nullptr;
}

// Asks fontconfig for its best match. With `mustMatchFamily` set, a substitute family
// (fontconfig always answers with something) counts as not found.
bool Match(const std::string& family, bool bold, bool mustMatchFamily, FontFile& out) {
  FcConfig* config = Config();
  if (config == nullptr || family.empty()) return false;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;

  bool found = false;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
    // A face may carry several family names (localised or style-specific ones).
    const char* matchedFamily = nullptr;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
      if (i == 0) matchedFamily = reinterpret_cast<const char*>(name);
      if (SameName(family, reinterpret_cast<const char*>(name))) {
        matchedFamily = reinterpret_cast<const char*>(name);
        found = true;
        break;
      }
    }
    if (!mustMatchFamily) found = true;
    if (found) {
      int index = 0;
      int weight = FC_WEIGHT_REGULAR;
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
      out.path = reinterpret_cast<const char*>(file);
      out.index = index;
      out.family = matchedFamily != nullptr ? matchedFamily : "";
      out.bold = weight >= FC_WEIGHT_DEMIBOLD;
    }
  }
  FcPatternDestroy(match);
  return found;
}

bool LastResort(bool bold, FontFile& out) {
  // For a system whose fontconfig is broken but which still ships DejaVu.
  static const std::array<std::pair<const char*, bool>, 2> kFiles = {{
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", true},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", false},
  }};
  for (const auto& [path, isBold] : kFiles) {
    if (isBold && !bold) continue;
    if (access(path, R_OK) == 0) {
      out = FontFile{path, 0, "DejaVu Sans", isBold};
      return true;
    }
  }
  return false;
}

}  // namespace

bool FindFontFile(const std::string& family, bool bold, FontFile& out) {
  return Match(family, bold, true, out);
}

bool ResolveFontFile(const std::string& family, bool bold, FontFile& out) {
  static std::map<std::pair<std::string, bool>, FontFile> known;
  const auto key = std::make_pair(family, bold);
  if (auto it = known.find(key); it != known.end()) {
    out = it->second;
    return true;
  }
  FontFile file;
  const bool found = FindFontFile(family, bold, file) || FindFontFile("Open Sans", bold, file) ||
                     FindFontFile("DejaVu Sans", bold, file) ||
                     Match("sans-serif", bold, false, file) || LastResort(bold, file);
  if (!found) return false;  // not remembered: fonts installed later are found next time
  known.emplace(key, file);
  out = file;
  return true;
}

}  // namespace platform
