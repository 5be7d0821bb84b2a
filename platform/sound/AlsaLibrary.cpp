#include "platform/sound/private/AlsaLibrary.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace vellumry::mm {
namespace {

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAlsaErrors()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(IgnoreAlsaError); });
}

}  // namespace vellumry::mm
