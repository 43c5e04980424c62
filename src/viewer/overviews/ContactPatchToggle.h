#pragma once

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphContext.h"

namespace lv {

inline constexpr int kContactPatchButton = 1101;

// Button 1101: switches the tyre temperatures shown between contact patch and tread.
void toggleContactPatch(GraphContext& c, const ChannelCommands& commands);

}  // namespace lv
