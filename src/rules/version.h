// The game's name and version as the window title and the about page show them. The build reads
// the version from the first line of debian/changelog and passes it in, so it is changed there.
#pragma once

#ifndef KENO_VERSION
#error "KENO_VERSION comes from the build (debian/changelog)"
#endif

namespace rules {

constexpr const char* kGameTitle = "Tessaline by Brindlec " KENO_VERSION;

}  // namespace rules
