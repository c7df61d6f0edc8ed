// Where everything on the board is drawn and clicked, computed from the client size alone.
#pragma once

#include <cstdint>

namespace render {

struct Layout {
  int64_t clientWidth = 1280;  // client size last applied; provisional until the window opens
  int64_t clientHeight = 780;
};

}  // namespace render
