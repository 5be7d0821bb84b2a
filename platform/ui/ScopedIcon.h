#pragma once

// Owns an icon handle made for its owner (CreateIconFromFileData and the
// like) and destroys it with DestroyIcon. Icons that are only borrowed, such
// as the program's own, are held as plain HICON.

#include <memory>

#include "platform/ui/WinUser.h"

namespace vellumry::ui {

struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using ScopedIcon = std::unique_ptr<HICON__, IconDestroyer>;

}  // namespace vellumry::ui
