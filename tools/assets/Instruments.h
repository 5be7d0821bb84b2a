#pragma once

// The four synthesised instruments of the background music.
//
//   Pad    three slightly detuned mellow saw-like oscillators, slow attack and
//          a long release that overlaps the next chord
//   Bass   a sine with two soft overtones, plucked and held
//   Bell   a soft electric-piano tone (two-operator FM) that decays by itself
//   Flute  a near-sine with a little breath of overtones and delayed vibrato
//
// Every envelope starts and ends at exactly zero, so no note clicks.

#include "tools/assets/Score.h"
#include "tools/assets/StereoLoop.h"

namespace vellumry::assets {

// Renders `note` into `dry`, and the share of it that should echo into `send`.
void RenderNote(const Note& note, StereoLoop& dry, StereoLoop& send);

}  // namespace vellumry::assets
