#pragma once

namespace lv {

// Whether the user's interface language is German (any region).
bool isGermanUserInterface();

}  // namespace lv
