#pragma once

#include <string>
#include <string_view>

namespace lv {

// FLTK's file-chooser filter for a filter text in the platform's form, pairs of a name and
// ';'-separated patterns, all ending in '|' ("Laps|*.tmr;*.rpy||"): one "name\tpattern" line
// per pair, several patterns joined as "*.{tmr,rpy}". Empty for an empty text.
std::string fltkFilter(std::string_view pairs);

}  // namespace lv
