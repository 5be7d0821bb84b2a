#include "runtime/HostLayers.h"

namespace vellumry::runtime {
namespace {

FormEngineHooks g_formEngine;
ComponentModelHooks g_componentModel;
SoundHooks g_sound;

}  // namespace

void SetFormEngineHooks(const FormEngineHooks& hooks)
{
    g_formEngine = hooks;
}

void SetComponentModelHooks(const ComponentModelHooks& hooks)
{
    g_componentModel = hooks;
}

void SetSoundHooks(const SoundHooks& hooks)
{
    g_sound = hooks;
}

const FormEngineHooks& FormEngine()
{
    return g_formEngine;
}

const ComponentModelHooks& ComponentModel()
{
    return g_componentModel;
}

const SoundHooks& Sound()
{
    return g_sound;
}

}  // namespace vellumry::runtime
