#pragma once

// A request object for tests, registered under "WinHttp.WinHttpRequest.5.1"
// in place of the real component: it offers the members HttpObjectRequest
// calls, logs every call with its arguments (texts in the system code page),
// makes no request, and answers with a canned response.

#include <cstdint>
#include <string>
#include <vector>

namespace vellumry::test {

struct CannedResponse {
    double status = 200;  // the Status property is a number of any kind
    std::string headers;  // what GetAllResponseHeaders gives
    std::string body;
};

// Registers the recording object with the response it gives and clears the
// log; RestoreRequestComponent registers the real component again.
void RecordRequestObject(CannedResponse response = {});
void RestoreRequestComponent();

std::vector<std::string> RequestObjectLog();
// How many recording objects exist now.
int LiveRequestObjects();

}  // namespace vellumry::test
