#pragma once

// A watcher of what the status bars show: called on the window thread each
// time a status bar part's text changes, with the unit, the part and the new
// text (GBK). One observer per process; programs that report the progress of
// their own window (the batch mode) install it before the form is loaded.
// Plain C++.

#include <cstdint>
#include <functional>
#include <string_view>

#include "forms/description/Identifiers.h"

namespace vellumry::units {

using StatusTextObserver =
    std::function<void(forms::FormId form, forms::UnitId unit, std::int32_t part, std::string_view gbkText)>;

// Installs the observer; an empty one removes it. Window thread, or before
// the application object exists.
void SetStatusTextObserver(StatusTextObserver observer);

// Tells the observer, when there is one. Window thread.
void NotifyStatusText(forms::FormId form, forms::UnitId unit, std::int32_t part, std::string_view gbkText);

}  // namespace vellumry::units
