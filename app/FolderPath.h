#pragma once

// A folder text made ready for a name to follow: one "\" appended unless its
// last character is "\"; the empty folder becomes "\". The test is on the
// last character, not the last byte: a GBK character whose trail byte is 0x5C
// (such as "乗") does not end the folder, so its files go into it rather than
// beside it under a joined name. Any thread.

#include "app/CoreCommands.h"

namespace vellumry::app {

OwnedText FolderWithSeparator(const char* folder);

}  // namespace vellumry::app
