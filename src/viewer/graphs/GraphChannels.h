#pragma once

#include "viewer/graphs/ChannelCommands.h"

namespace lv {

// Registers every channel of the graphs: driver inputs, engine, vehicle dynamics, chassis
// and the lap time difference.
void registerGraphChannels(ChannelCommands& commands);

// Parts of the registration, one per family of channels.
void registerStandardChannels(ChannelCommands& commands);
void registerEngineChannels(ChannelCommands& commands);
void registerDynamicsChannels(ChannelCommands& commands);
void registerTimeDifference(ChannelCommands& commands);

}  // namespace lv
