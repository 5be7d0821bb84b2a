#include "tests/web/WinInetCommandTable.h"

#include "app/description/DllCommandTable.h"
#include "runtime/DllCommands.h"
#include "web/ComInit.h"
#include "web/WinInetCommands.h"

namespace vellumry::test {
namespace {

// The routine's command indexes are the program's.
static_assert(web::kInternetOpenCommand == app::kInternetOpenA);
static_assert(web::kInternetCloseHandleCommand == app::kInternetCloseHandle);
static_assert(web::kInternetConnectCommand == app::kInternetConnectA);
static_assert(web::kHttpOpenRequestCommand == app::kHttpOpenRequestA);
static_assert(web::kHttpSendRequestTextCommand == app::kHttpSendRequestText);
static_assert(web::kHttpSendRequestBytesCommand == app::kHttpSendRequestBytes);
static_assert(web::kInternetReadFileCommand == app::kInternetReadFile);
static_assert(web::kHttpQueryInfoCommand == app::kHttpQueryInfoA);
static_assert(web::kCoInitializeCommand == app::kCoInitialize);
static_assert(web::kCoUninitializeCommand == app::kCoUninitialize);

constexpr int kEntries = web::kHttpQueryInfoCommand + 1;

}  // namespace

void InstallWinInetCommandTable()
{
    const char* libraries[kEntries] = {};
    const char* exports[kEntries] = {};
    const char* const wininet[] = {"InternetOpenA",    "InternetCloseHandle", "InternetConnectA", "HttpOpenRequestA",
                                   "HttpSendRequestA", "HttpSendRequestA",    "InternetReadFile", "HttpQueryInfoA"};
    for (int i = 0; i < 8; ++i) {
        libraries[web::kInternetOpenCommand + i] = "wininet.dll";
        exports[web::kInternetOpenCommand + i] = wininet[i];
    }
    libraries[web::kCoInitializeCommand] = "ole32.dll";
    exports[web::kCoInitializeCommand] = "CoInitialize";
    libraries[web::kCoUninitializeCommand] = "ole32.dll";
    exports[web::kCoUninitializeCommand] = "CoUninitialize";
    runtime::InstallDllCommands(kEntries, libraries, exports);
}

void RemoveWinInetCommandTable()
{
    runtime::UnloadDllCommands();
}

}  // namespace vellumry::test
