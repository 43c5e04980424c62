#pragma once

#include "viewer/shell/ShellContext.h"

namespace lv {

// Steps of the lap choice that belong to the graphs and the readout, supplied by the dialog.
struct LapChoiceFollowUps {
  // Draws every shown channel again on top of the current picture.
  std::function<void(ShellContext&)> redrawShownChannels;
  // The lap colour marks of the lap list double-click.
  std::function<void(ShellContext&)> drawLapColourMarks;
  // Fills the value readout for sample `s` of the radio lap.
  std::function<void(ShellContext&, int s)> fillReadout;
};

// A double-click on a line of the lap list: chooses that lap for the next slot, or clears the
// choice when four laps are chosen.
void chooseLap(ShellContext& context, const LapChoiceFollowUps& followUps);

// Radio button `slot`: picks the chosen lap whose values the readout and the single-lap
// channels show.
void chooseRadioSlot(ShellContext& context, int slot, const LapChoiceFollowUps& followUps);

// The 39 channel buttons the first double-click reveals, in the order they are shown.
extern const std::array<int, 39> kButtonsRevealedByLapChoice;

}  // namespace lv
