#include "platform/debug/Debugger.h"

#include <csignal>

void DebugBreak()
{
    std::raise(SIGTRAP);
}
