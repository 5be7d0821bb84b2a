#pragma once

// The program's DLL commands that the request routines call: the component
// model's initialisation and the WinINet functions, named by their indices
// in the program's DLL command table. The program installs the indices once,
// before its first request; the calls then go through the runtime's DLL
// command interface, which resolves each index on first use and checks the
// declared function type against the export.

#include <cstdint>

namespace vellumry::web {

struct WebDllCommandIndices {
    std::int32_t coInitialize = -1;
    std::int32_t coUninitialize = -1;
    std::int32_t internetOpen = -1;
    std::int32_t internetCloseHandle = -1;
    std::int32_t internetConnect = -1;
    std::int32_t httpOpenRequest = -1;
    std::int32_t httpSendRequestText = -1;   // HttpSendRequestA declared with the data as a text
    std::int32_t httpSendRequestBytes = -1;  // the same export declared with the data as a byte-set
    std::int32_t internetReadFile = -1;
    std::int32_t httpQueryInfo = -1;
};

void InstallWebDllCommands(const WebDllCommandIndices& indices);
const WebDllCommandIndices& WebDllCommands();

}  // namespace vellumry::web
