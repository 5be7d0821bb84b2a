#pragma once

// Typed calls of the WinINet DLL commands, each declared with the function
// type of its export, through the runtime's DLL command interface. The
// command index goes with the call as its first related value.

#include "platform/net/WinInet.h"
#include "runtime/RuntimeInterface.h"
#include "web/WinInetCommands.h"

namespace vellumry::web::wininet {

template <typename Function, typename... Args>
auto Call(std::int32_t index, Args&&... args)
{
    return runtime::CallDllCommand<Function>(index, index, 0, std::forward<Args>(args)...);
}

inline HINTERNET Open(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR bypass, DWORD flags)
{
    return Call<decltype(::InternetOpenA)>(kInternetOpenCommand, agent, accessType, proxy, bypass, flags);
}

inline BOOL CloseHandle(HINTERNET handle)
{
    return Call<decltype(::InternetCloseHandle)>(kInternetCloseHandleCommand, handle);
}

inline HINTERNET Connect(HINTERNET internet, LPCSTR host, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                         DWORD service, DWORD flags, DWORD_PTR context)
{
    return Call<decltype(::InternetConnectA)>(kInternetConnectCommand, internet, host, port, user,
                                              password, service, flags, context);
}

inline HINTERNET OpenRequest(HINTERNET connect, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                             LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context)
{
    return Call<decltype(::HttpOpenRequestA)>(kHttpOpenRequestCommand, connect, verb, object, version,
                                              referrer, acceptTypes, flags, context);
}

// The declaration that passes the data as a text.
inline BOOL SendRequestText(HINTERNET request, LPCSTR headers, DWORD headersLength, const char* data,
                            DWORD dataLength)
{
    return Call<decltype(::HttpSendRequestA)>(kHttpSendRequestTextCommand, request, headers,
                                              headersLength, const_cast<char*>(data), dataLength);
}

// The declaration that passes the data as the bytes of a byte-set.
inline BOOL SendRequestBytes(HINTERNET request, LPCSTR headers, DWORD headersLength, const std::uint8_t* data,
                             DWORD dataLength)
{
    return Call<decltype(::HttpSendRequestA)>(kHttpSendRequestBytesCommand, request, headers,
                                              headersLength, const_cast<std::uint8_t*>(data), dataLength);
}

inline BOOL ReadFile(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read)
{
    return Call<decltype(::InternetReadFile)>(kInternetReadFileCommand, file, buffer, toRead, read);
}

inline BOOL QueryInfo(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index)
{
    return Call<decltype(::HttpQueryInfoA)>(kHttpQueryInfoCommand, request, level, buffer, length, index);
}

}  // namespace vellumry::web::wininet
