#include "web/RequestHeaders.h"

#include "runtime/commands/TextWalks.h"
#include "web/WebTexts.h"

namespace vellumry::web {

bool ContainsText(std::string_view text, std::string_view sought)
{
    return runtime::commands::FindFrom(text, sought, 0, false) != runtime::commands::kNotFoundOffset;
}

void AddDefaultHeaderLines(std::string& headers, std::string_view address)
{
    if (headers.empty()) {
        headers = texts::kAcceptLine;
    } else if (!ContainsText(headers, texts::kAcceptName)) {
        headers += texts::kCrLf;
        headers += texts::kAcceptLine;
    }
    if (!ContainsText(headers, texts::kRefererName)) {
        headers += texts::kRefererLineHead;
        headers += address;
    }
    if (!ContainsText(headers, texts::kAcceptLanguageName))
        headers += texts::kAcceptLanguageLine;
}

void AddFormContentType(std::string& headers)
{
    if (!ContainsText(headers, texts::kContentTypeName))
        headers += texts::kContentTypeLine;
}

}  // namespace vellumry::web
