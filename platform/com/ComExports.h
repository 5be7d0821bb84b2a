#pragma once

// Makes the component-model stand-ins reachable by name through the built-in
// modules "ole32" (apartments, object creation) and "oleaut32" (BSTR,
// VARIANT, SAFEARRAY and type-library functions), as DLL commands and
// LoadLibraryA/GetProcAddress find them. Calling it again changes nothing.

namespace vellumry::com {

void RegisterComExports();

}  // namespace vellumry::com
