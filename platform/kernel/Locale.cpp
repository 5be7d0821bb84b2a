#include "platform/kernel/Locale.h"

DWORD GetUserDefaultLCID()
{
    return kChinesePrcLocale;
}

DWORD GetSystemDefaultLCID()
{
    return kChinesePrcLocale;
}
