#pragma once

// The stand-in for the Windows scripting component's regular-expression
// object, "VBScript.RegExp" (version 5.5), on PCRE2. RegisterRegExpComponent
// registers its class under that program identifier (and "VBScript.RegExp.5.5")
// and its type library as resource 3 of "vbscript.dll", where the Windows
// component keeps it; calling it again changes nothing.
//
// The object and its collections are described in private/RegExpObject.h and
// private/MatchResults.h; its syntax and matching rules in
// private/JScriptPattern.h and private/PatternMatcher.h.

#include "platform/com/ComTypes.h"

namespace vellumry::vbscript {

inline constexpr CLSID kRegExpClassId = {0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

void RegisterRegExpComponent();

}  // namespace vellumry::vbscript
