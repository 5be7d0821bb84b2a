#pragma once

// Makes the kernel stand-ins reachable by name through the built-in module
// "kernel32", as DLL commands and LoadLibraryA/GetProcAddress find them. The
// program calls this once at start-up, before any DLL command is resolved;
// calling it again changes nothing.

namespace vellumry::kernel {

void RegisterKernelExports();

}  // namespace vellumry::kernel
