#pragma once

#include <string>
#include <string_view>

namespace lv {

// `folder` + `relative` as it lies on disk. GPL on Windows finds "tracks\Monza" for a replay
// that names "monza"; here names differ by case, so each part of `relative` that is missing
// under its exact name is matched without regard to ASCII case (the first match in name
// order when several differ only by case). Parts that match nothing are kept as given.
std::string findPathIgnoringCase(const std::string& folder, std::string_view relative);

}  // namespace lv
