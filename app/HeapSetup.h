#pragma once

// The heap set up at process start for the large blocks a window brings with
// it (Qt's window-sized backing store and images, font caches), so that they
// are backed by huge pages where the system has them. Call it first thing in
// main, before any window exists.

namespace vellumry::app {

void PrepareHeapForWindows();

}  // namespace vellumry::app
