#pragma once

// The classes that can be created by program identifier or class identifier,
// and the documented functions over them:
// - CLSIDFromProgID finds a registered program identifier without regard to
//   letter case, else CO_E_CLASSSTRING.
// - CoCreateInstance needs an initialised thread (CO_E_NOTINITIALIZED),
//   refuses context bits it does not know with E_INVALIDARG, finds the class
//   (REGDB_E_CLASSNOTREG, also when the context allows neither an in-process
//   nor a remote server: every class here is an in-process server), refuses
//   an outer object (CLASS_E_NOAGGREGATION) and asks the new object for the
//   interface (E_NOINTERFACE).
// - OleRun puts an object that offers IRunnableObject into its running state
//   and accepts any other object as running.
//
// A class is registered with a factory that makes one object and answers a
// QueryInterface for the requested interface. A class may be registered under
// several program identifiers; registering one again replaces it, and the
// newest factory of a class identifier serves all of them. The registry is
// process-wide and locked; any thread may use it.
//
// This machine has no distributed component model of its own, so no class is
// ever served by a remote server; a context that allows one is served
// in-process. SetDistributedComAvailable(false) models a machine without it,
// where a context naming CLSCTX_REMOTE_SERVER fails with E_INVALIDARG.

#include <string_view>

#include "platform/com/ComTypes.h"
#include "platform/com/Unknown.h"

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                    CLSCTX_REMOTE_SERVER;

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, LPVOID* object);
HRESULT OleRun(IUnknown* object);

namespace vellumry::com {

// Makes a new object and answers QueryInterface(riid) on it.
using ClassFactory = HRESULT (*)(REFIID riid, void** object);

struct ClassRegistration {
    std::u16string_view progId;  // may be empty: the class is found by CLSID only
    CLSID clsid{};
    ClassFactory create = nullptr;
};

void RegisterComClass(const ClassRegistration& registration);
void UnregisterComClass(REFCLSID clsid);

// Whether a context with CLSCTX_REMOTE_SERVER is accepted (true unless set).
void SetDistributedComAvailable(bool available);

}  // namespace vellumry::com
