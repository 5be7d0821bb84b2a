#pragma once

// LoadTypeLib, RegisterTypeLib and QueryPathOfRegTypeLib as documented, over
// the type libraries built into this program.
//
// A type library file is named the Windows way: a path whose last part is the
// file name, optionally followed by "\" and the number of the type-library
// resource inside it ("C:\Windows\System32\vbscript.dll\3"; 1 when left out).
// LoadTypeLib finds the built-in library registered for that file name
// (compared without letter case, ".dll" optional, the folder ignored) and
// resource number, else TYPE_E_CANTLOADLIBRARY; this stand-in reads no type
// library files from disk. RegisterTypeLib records a library's identifier and
// version with the path it was loaded from, which QueryPathOfRegTypeLib
// answers (TYPE_E_LIBNOTREGISTERED for one never registered).
//
// Process-wide and locked; any thread may use it.

#include <string_view>

#include "platform/com/ComTypes.h"
#include "platform/com/TypeDescription.h"
#include "platform/com/TypeInfo.h"

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** library);
HRESULT RegisterTypeLib(ITypeLib* library, LPCOLESTR fullPath, LPCOLESTR helpFolder);
HRESULT QueryPathOfRegTypeLib(REFGUID libid, USHORT major, USHORT minor, LCID lcid, BSTR* path);

namespace vellumry::com {

// Makes `description` loadable as resource `resource` of the file `file`
// ("vbscript.dll"). The description must outlive the registration.
void RegisterBuiltinTypeLibrary(std::u16string_view file, int resource, const LibraryDescription& description);
void UnregisterBuiltinTypeLibrary(std::u16string_view file, int resource);

}  // namespace vellumry::com
