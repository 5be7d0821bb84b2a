#include "web/WebDllCommands.h"

namespace vellumry::web {
namespace {

WebDllCommandIndices g_indices;

}  // namespace

void InstallWebDllCommands(const WebDllCommandIndices& indices)
{
    g_indices = indices;
}

const WebDllCommandIndices& WebDllCommands()
{
    return g_indices;
}

}  // namespace vellumry::web
