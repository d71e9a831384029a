#include "forcestop/last_result.h"

namespace vornik {

std::string LastResultTitle;
std::int32_t LastResultIcon = 0;

void ShutdownCleanup() {
  std::string().swap(LastResultTitle);
}

}  // namespace vornik
