#pragma once

// The event-suppression counter: while it is 1 or more, no event reaches an
// application handler. Form creation, unit re-creation, the error report and
// shutdown raise it. Any thread may raise or lower it.

namespace vellumry::runtime {

void RaiseEventSuppression();
// Lowers the counter, never below 0.
void LowerEventSuppression();
bool EventsSuppressed();
int EventSuppressionLevel();

}  // namespace vellumry::runtime
