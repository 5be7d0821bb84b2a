#include "tests/web/RecordingWinInet.h"

#include <map>
#include <mutex>
#include <sstream>

#include "platform/modules/ModuleRegistry.h"
#include "platform/net/WinInet.h"

namespace vellumry::test {
namespace {

struct Recorder {
    std::mutex lock;
    std::vector<std::string> log;
    std::map<HINTERNET, std::string> names;
    WinInetFailures failures;
};

Recorder& TheRecorder()
{
    static Recorder recorder;
    return recorder;
}

void Log(const std::string& entry)
{
    std::lock_guard guard(TheRecorder().lock);
    TheRecorder().log.push_back(entry);
}

std::string NameOf(HINTERNET handle)
{
    if (handle == nullptr)
        return "0";
    std::lock_guard guard(TheRecorder().lock);
    auto found = TheRecorder().names.find(handle);
    return found == TheRecorder().names.end() ? "unknown" : found->second;
}

HINTERNET Named(HINTERNET handle, const char* name)
{
    if (handle != nullptr) {
        std::lock_guard guard(TheRecorder().lock);
        TheRecorder().names[handle] = name;
    }
    return handle;
}

std::string Text(LPCSTR text)
{
    return text ? "\"" + std::string(text) + "\"" : "null";
}

std::string Hex(DWORD value)
{
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

HINTERNET Open(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags)
{
    Log("InternetOpenA " + Text(agent) + " " + std::to_string(access) + " " + Text(proxy) + " " + Text(bypass) + " " +
        std::to_string(flags));
    if (TheRecorder().failures.open)
        return nullptr;
    return Named(InternetOpenA(agent, access, proxy, bypass, flags), "session");
}

HINTERNET Connect(HINTERNET internet, LPCSTR host, INTERNET_PORT port, LPCSTR user, LPCSTR password, DWORD service,
                  DWORD flags, DWORD_PTR context)
{
    Log("InternetConnectA " + NameOf(internet) + " " + Text(host) + " " + std::to_string(port) + " " + Text(user) +
        " " + Text(password) + " " + std::to_string(service) + " " + std::to_string(flags) + " " +
        std::to_string(context));
    if (TheRecorder().failures.connect)
        return nullptr;
    return Named(InternetConnectA(internet, host, port, user, password, service, flags, context), "connection");
}

HINTERNET OpenRequest(HINTERNET connect, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                      LPCSTR* accept, DWORD flags, DWORD_PTR context)
{
    Log("HttpOpenRequestA " + NameOf(connect) + " " + Text(verb) + " " + Text(object) + " " + Text(version) + " " +
        Text(referrer) + " " + (accept ? "types" : "null") + " " + Hex(flags) + " " + std::to_string(context));
    if (TheRecorder().failures.openRequest)
        return nullptr;
    return Named(HttpOpenRequestA(connect, verb, object, version, referrer, accept, flags, context), "request");
}

BOOL Send(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID data, DWORD dataLength)
{
    std::string block = headers ? std::string(headers, headersLength) : "null";
    std::string bytes = data ? std::string(static_cast<const char*>(data), dataLength) : "null";
    Log("HttpSendRequestA " + NameOf(request) + " \"" + block + "\" " + std::to_string(headersLength) + " \"" +
        bytes + "\" " + std::to_string(dataLength));
    return HttpSendRequestA(request, headers, headersLength, data, dataLength);
}

BOOL Read(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read)
{
    BOOL result = InternetReadFile(file, buffer, toRead, read);
    Log("InternetReadFile " + NameOf(file) + " " + std::to_string(toRead) + " -> " + std::to_string(*read));
    return result;
}

BOOL Query(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index)
{
    Log("HttpQueryInfoA " + NameOf(request) + " " + std::to_string(level) + " " + std::to_string(*length) + " " +
        (index ? "index" : "null"));
    return HttpQueryInfoA(request, level, buffer, length, index);
}

BOOL Close(HINTERNET handle)
{
    Log("InternetCloseHandle " + NameOf(handle));
    return InternetCloseHandle(handle);
}

}  // namespace

void RecordWinInet(WinInetFailures failures)
{
    {
        std::lock_guard guard(TheRecorder().lock);
        TheRecorder().log.clear();
        TheRecorder().names.clear();
        TheRecorder().failures = failures;
    }
    using modules::Export;
    modules::RegisterBuiltinExports("wininet", {
                                                   Export("InternetOpenA", &Open),
                                                   Export("InternetConnectA", &Connect),
                                                   Export("HttpOpenRequestA", &OpenRequest),
                                                   Export("HttpSendRequestA", &Send),
                                                   Export("InternetReadFile", &Read),
                                                   Export("HttpQueryInfoA", &Query),
                                                   Export("InternetCloseHandle", &Close),
                                               });
}

void RestoreWinInet()
{
    net::RegisterWinInetExports();
}

std::vector<std::string> WinInetLog()
{
    std::lock_guard guard(TheRecorder().lock);
    return TheRecorder().log;
}

}  // namespace vellumry::test
