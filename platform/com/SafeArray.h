#pragma once

// SAFEARRAY functions as documented, for arrays of the element types VARIANT
// can describe (integers of 1 to 8 bytes, VT_R4, VT_R8, VT_DATE, VT_BOOL,
// VT_ERROR, VT_BSTR, VT_UNKNOWN, VT_DISPATCH, VT_VARIANT).
//
// - SafeArrayCreate takes the bounds leftmost dimension first and stores them
//   reversed in rgsabound; elements are zeroed. It returns null for an
//   element type it cannot hold, no dimension, or a size above 2 GiB.
// - Indexes (rgIndices) name the dimensions in SafeArrayCreate's order; the
//   first dimension varies fastest in memory.
// - SafeArrayPutElement copies what it stores (a BSTR is duplicated, an
//   interface gets AddRef, a VARIANT goes through VariantCopy) and clears the
//   element it replaces; SafeArrayGetElement hands out such a copy.
// - SafeArrayDestroy fails with DISP_E_ARRAYISLOCKED while the array is
//   locked, and otherwise releases every element.
// - The element type is recorded in the descriptor (FADF_HAVEVARTYPE), which
//   SafeArrayGetVartype reads.

#include "platform/com/ComTypes.h"
#include "platform/com/VariantTypes.h"

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* lowerBound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* upperBound);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayLock(SAFEARRAY* array);
HRESULT SafeArrayUnlock(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value);
HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value);
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy);

namespace vellumry::com {

// The byte size of one element of `vt` in an array, or 0 when an array
// cannot hold that type.
ULONG ArrayElementSize(VARTYPE vt);

// Number of elements over all dimensions (0 for null).
std::size_t SafeArrayElementCount(const SAFEARRAY* array);

}  // namespace vellumry::com
