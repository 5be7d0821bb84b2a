#pragma once

// CoInitialize, CoInitializeEx, CoUninitialize, OleInitialize and
// OleUninitialize as documented, per thread:
// - the first initialisation of a thread gives S_OK, each further one of the
//   same apartment kind S_FALSE (and must be paired with an uninitialisation
//   all the same);
// - asking for the other apartment kind on an initialised thread gives
//   RPC_E_CHANGED_MODE and counts nothing;
// - CoUninitialize undoes one successful initialisation; when none is left
//   the thread is no longer initialised, and a surplus call does nothing.
// OleInitialize initialises a single-threaded apartment the same way.
//
// Objects are created only on initialised threads (CoCreateInstance answers
// CO_E_NOTINITIALIZED otherwise). Any thread may call these for itself.

#include "platform/com/ComTypes.h"

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

namespace vellumry::com {

// The number of initialisations of the calling thread not yet undone.
int ApartmentInitializations();

}  // namespace vellumry::com
