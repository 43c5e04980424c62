#pragma once

#include "viewer/graphs/ChannelCommands.h"

namespace lv {

// Registers the tyre channels: "wear", "wheelspeed", "tire temps", "ou-i" and "cent-ou".
void registerTyreChannels(ChannelCommands& commands);

}  // namespace lv
