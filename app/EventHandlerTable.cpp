#include "app/EventHandlerTable.h"

namespace vellumry::app {
namespace {

// The handlers' routines come with the application's window behaviour; until
// then each position is bound to no routine, so its events run nothing.
constexpr forms::EventHandler kHandlers[] = {
#define VELLUMRY_HANDLER(name) nullptr,
#include "app/forms/Handlers.def"
#undef VELLUMRY_HANDLER
};

}  // namespace

std::span<const forms::EventHandler> EventHandlerTable()
{
    return kHandlers;
}

}  // namespace vellumry::app
