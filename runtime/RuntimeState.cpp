#include "runtime/RuntimeState.h"

namespace vellumry::runtime {

RuntimeState& Runtime()
{
    static RuntimeState state;
    return state;
}

bool OnMainThread()
{
    const RuntimeState& state = Runtime();
    return state.mainThread == std::thread::id() || state.mainThread == std::this_thread::get_id();
}

}  // namespace vellumry::runtime
