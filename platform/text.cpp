#include "platform/text.h"

namespace platform {

bool ContainsText(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); i += IsGbkLeadByte(text[i]) ? 2 : 1)
    if (text.compare(i, part.size(), part) == 0) return true;
  return false;
}

}  // namespace platform
