#pragma once

// The verb selector shared by the two request routines: 0 "GET", 1 "POST",
// 2 "HEAD", 3 "PUT", 4 "OPTIONS", 5 "DELETE", 6 "TRACE", 7 "CONNECT"; any
// other value is taken as 0.

#include <cstdint>

#include "web/WebTexts.h"

namespace vellumry::web {

using RequestMethod = std::int32_t;

inline constexpr RequestMethod kMethodGet = 0;
inline constexpr RequestMethod kMethodPost = 1;

// The method brought into 0 to 7.
inline RequestMethod NormalizeMethod(RequestMethod method)
{
    return method < 0 || method > 7 ? kMethodGet : method;
}

inline const char* VerbOf(RequestMethod method)
{
    static constexpr const char* kVerbs[] = {texts::kVerbGet,     texts::kVerbPost,   texts::kVerbHead,
                                             texts::kVerbPut,     texts::kVerbOptions, texts::kVerbDelete,
                                             texts::kVerbTrace,   texts::kVerbConnect};
    return kVerbs[NormalizeMethod(method)];
}

}  // namespace vellumry::web
