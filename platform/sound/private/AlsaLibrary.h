#pragma once

// What both ALSA stand-ins share. ALSA prints its errors to standard error
// by default; a machine without a sound card would see a page of them at
// every start, so they are silenced once, before the first ALSA call: the
// stand-ins report failures through their own result codes.

namespace vellumry::mm {

void QuietAlsaErrors();

}  // namespace vellumry::mm
