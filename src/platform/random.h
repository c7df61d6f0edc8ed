// The system's cryptographic random source, read through a buffer so a draw costs no syscalls.
// Each thread reads its own buffer, so several threads may draw at the same time.
#pragma once

#include <cstdint>

namespace platform {

bool OpenSecureRandom();              // true when the source delivers
bool ReadSecureWord(uint32_t& word);  // false when the source fails
void CloseSecureRandom();

}  // namespace platform
