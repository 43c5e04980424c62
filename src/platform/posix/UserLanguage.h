#pragma once

namespace lv {

// Whether the user's language, from LC_ALL, LC_MESSAGES or LANG (the first one set and not
// empty wins), is German: "de", "de_DE.UTF-8", "de_AT", ...
bool isGermanLanguage(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace lv
