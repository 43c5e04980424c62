#include "platform/posix/UserLanguage.h"

#include <string_view>

namespace lv {

bool isGermanLanguage(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value == nullptr || *value == '\0') continue;
    std::string_view text(value);
    return text.substr(0, 2) == "de" &&
           (text.size() == 2 || text[2] == '_' || text[2] == '.' || text[2] == '@');
  }
  return false;
}

}  // namespace lv
