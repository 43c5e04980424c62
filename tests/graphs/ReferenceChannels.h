#pragma once

#include "viewer/graphs/ChannelCommands.h"

namespace lv::reference {

// Every channel of the redraw order, drawn point by point as before the fast plots.
void registerReferenceChannels(ChannelCommands& commands);

}  // namespace lv::reference
