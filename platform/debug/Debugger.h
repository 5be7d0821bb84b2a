#pragma once

// DebugBreak: stops in an attached debugger. Without a debugger the trap ends
// the process, as an unhandled breakpoint exception does on the original.

void DebugBreak();
