#pragma once

// Stopping a transfer from outside. Every transfer asks the abort predicate,
// on its own thread, before it starts, whenever curl reports progress and at
// least every kAbortPollMs while it waits for the network; a true answer ends
// the transfer with TransferError::Cancelled and closes its connection.
//
// The thread-stop machinery installs the predicate once ("has the calling
// thread been told to stop?") and, right after it marks a thread, calls
// WakeTransfers so that a transfer waiting on a silent server re-checks at
// once instead of at its next poll. Both functions may be called from any
// thread.

namespace vellumry::net {

using AbortPredicate = bool (*)();

inline constexpr int kAbortPollMs = 100;

// Replaces the predicate; null means transfers are never stopped.
void SetTransferAbortPredicate(AbortPredicate predicate);

// True when the calling thread's transfer must stop now.
bool TransferAbortRequested();

// Makes every transfer that is waiting for the network re-check the
// predicate now.
void WakeTransfers();

}  // namespace vellumry::net
