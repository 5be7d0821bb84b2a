#include "tests/web/WinInetCommandTable.h"

#include "runtime/DllCommands.h"
#include "web/WebDllCommands.h"

namespace vellumry::test {
namespace {

const char* const kLibraries[] = {"wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
                                  "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll"};
const char* const kExports[] = {"InternetOpenA",    "InternetCloseHandle", "InternetConnectA", "HttpOpenRequestA",
                                "HttpSendRequestA", "HttpSendRequestA",    "InternetReadFile", "HttpQueryInfoA"};

}  // namespace

void InstallWinInetCommandTable()
{
    runtime::InstallDllCommands(8, kLibraries, kExports);
    web::WebDllCommandIndices indices;
    indices.internetOpen = 0;
    indices.internetCloseHandle = 1;
    indices.internetConnect = 2;
    indices.httpOpenRequest = 3;
    indices.httpSendRequestText = 4;
    indices.httpSendRequestBytes = 5;
    indices.internetReadFile = 6;
    indices.httpQueryInfo = 7;
    web::InstallWebDllCommands(indices);
}

void RemoveWinInetCommandTable()
{
    runtime::UnloadDllCommands();
    web::InstallWebDllCommands({});
}

}  // namespace vellumry::test
