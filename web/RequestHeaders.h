#pragma once

// The header block both request routines build in the caller's headers
// text: the caller's lines, then each default line the block does not have
// yet. Searches are exact; texts are GBK bytes.

#include <string>
#include <string_view>

namespace vellumry::web {

// "Accept: */*" (the whole block when it is empty), the Referer line naming
// the address, and "Accept-Language: zh-cn", each only when the block has no
// line of that name.
void AddDefaultHeaderLines(std::string& headers, std::string_view address);

// For a POST: the form Content-Type line when the block has none.
void AddFormContentType(std::string& headers);

// True when the text contains `sought` (exact, from the first byte).
bool ContainsText(std::string_view text, std::string_view sought);

}  // namespace vellumry::web
