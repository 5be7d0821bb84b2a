#include "app/EventHandlerTable.h"

#include "app/MainWindowHandlers.h"

namespace vellumry::app {
namespace {

// Each name of the list is the handler routine of that name.
constexpr forms::EventHandler kHandlers[] = {
#define VELLUMRY_HANDLER(name) &name,
#include "app/forms/Handlers.def"
#undef VELLUMRY_HANDLER
};

}  // namespace

std::span<const forms::EventHandler> EventHandlerTable()
{
    return kHandlers;
}

}  // namespace vellumry::app
