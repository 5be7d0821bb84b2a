#include "platform/com/SafeArray.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/com/Bstr.h"
#include "platform/com/Unknown.h"
#include "platform/com/VariantApi.h"

namespace vellumry::com {
namespace {

// The descriptor is preceded by 16 bytes of which the last 4 hold the element
// type, where the documented layout keeps it for FADF_HAVEVARTYPE.
constexpr std::size_t kPrefix = 16;
constexpr std::uint64_t kMaxDataBytes = 0x80000000ull;
constexpr UINT kMaxDims = 60;

VARTYPE StoredType(const SAFEARRAY* array)
{
    std::uint32_t type;
    std::memcpy(&type, reinterpret_cast<const char*>(array) - 4, sizeof type);
    return static_cast<VARTYPE>(type);
}

USHORT FeaturesFor(VARTYPE vt)
{
    switch (vt) {
    case VT_BSTR: return FADF_BSTR | FADF_HAVEVARTYPE;
    case VT_UNKNOWN: return FADF_UNKNOWN | FADF_HAVEVARTYPE;
    case VT_DISPATCH: return FADF_DISPATCH | FADF_HAVEVARTYPE;
    case VT_VARIANT: return FADF_VARIANT | FADF_HAVEVARTYPE;
    default: return FADF_HAVEVARTYPE;
    }
}

// Bounds of dimension `dim` (1-based, SafeArrayCreate's order).
const SAFEARRAYBOUND& Bound(const SAFEARRAY* array, UINT dim)
{
    return array->rgsabound[array->cDims - dim];
}

// The byte offset of the element named by `indices`, or false when an index
// lies outside its dimension.
bool ElementOffset(const SAFEARRAY* array, const LONG* indices, std::size_t* offset)
{
    std::uint64_t position = 0;
    std::uint64_t stride = 1;
    for (UINT dim = 1; dim <= array->cDims; ++dim) {
        const SAFEARRAYBOUND& bound = Bound(array, dim);
        std::int64_t relative = static_cast<std::int64_t>(indices[dim - 1]) - bound.lLbound;
        if (relative < 0 || relative >= static_cast<std::int64_t>(bound.cElements))
            return false;
        position += static_cast<std::uint64_t>(relative) * stride;
        stride *= bound.cElements;
    }
    *offset = static_cast<std::size_t>(position * array->cbElements);
    return true;
}

// Whether elements of this type own something (a text, an object, a
// variant's value) that clearing must release and copying must duplicate;
// the others are plain bytes.
bool OwnsResources(VARTYPE vt)
{
    return vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH || vt == VT_VARIANT;
}

void ClearElement(VARTYPE vt, void* element)
{
    switch (vt) {
    case VT_BSTR: {
        BSTR text;
        std::memcpy(&text, element, sizeof text);
        SysFreeString(text);
        break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* object;
        std::memcpy(&object, element, sizeof object);
        if (object)
            object->Release();
        break;
    }
    case VT_VARIANT: VariantClear(static_cast<VARIANT*>(element)); break;
    default: break;
    }
    std::memset(element, 0, ArrayElementSize(vt));
}

// Copies the value at `source` (in the array's element form) into the
// zeroed or cleared `target`.
HRESULT CopyElement(VARTYPE vt, void* target, const void* source)
{
    switch (vt) {
    case VT_BSTR: {
        BSTR text;
        std::memcpy(&text, source, sizeof text);
        BSTR copy = nullptr;
        if (text) {
            copy = SysAllocStringLen(text, SysStringLen(text));
            if (!copy)
                return E_OUTOFMEMORY;
        }
        std::memcpy(target, &copy, sizeof copy);
        return S_OK;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: {
        IUnknown* object;
        std::memcpy(&object, source, sizeof object);
        if (object)
            object->AddRef();
        std::memcpy(target, &object, sizeof object);
        return S_OK;
    }
    case VT_VARIANT:
        VariantInit(static_cast<VARIANT*>(target));
        return VariantCopy(static_cast<VARIANT*>(target), static_cast<const VARIANT*>(source));
    default: std::memcpy(target, source, ArrayElementSize(vt)); return S_OK;
    }
}

}  // namespace

ULONG ArrayElementSize(VARTYPE vt)
{
    switch (vt) {
    case VT_I1:
    case VT_UI1: return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_DATE: return 8;
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH: return sizeof(void*);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
    }
}

std::size_t SafeArrayElementCount(const SAFEARRAY* array)
{
    if (!array)
        return 0;
    std::size_t count = 1;
    for (USHORT i = 0; i < array->cDims; ++i)
        count *= array->rgsabound[i].cElements;
    return count;
}

}  // namespace vellumry::com

using vellumry::com::ArrayElementSize;
using vellumry::com::SafeArrayElementCount;

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds)
{
    ULONG elementSize = ArrayElementSize(vt);
    if (elementSize == 0 || dims == 0 || dims > vellumry::com::kMaxDims || bounds == nullptr)
        return nullptr;
    std::uint64_t bytes = elementSize;
    for (UINT i = 0; i < dims; ++i) {
        bytes *= bounds[i].cElements;
        if (bytes > vellumry::com::kMaxDataBytes)
            return nullptr;
    }
    std::size_t descriptorSize = offsetof(SAFEARRAY, rgsabound) + dims * sizeof(SAFEARRAYBOUND);
    char* block = static_cast<char*>(std::calloc(1, vellumry::com::kPrefix + descriptorSize));
    if (!block)
        return nullptr;
    auto* array = reinterpret_cast<SAFEARRAY*>(block + vellumry::com::kPrefix);
    std::uint32_t type = vt;
    std::memcpy(block + vellumry::com::kPrefix - 4, &type, sizeof type);
    array->cDims = static_cast<USHORT>(dims);
    array->fFeatures = vellumry::com::FeaturesFor(vt);
    array->cbElements = elementSize;
    for (UINT i = 0; i < dims; ++i)
        array->rgsabound[dims - 1 - i] = bounds[i];
    if (bytes > 0) {
        array->pvData = std::calloc(1, static_cast<std::size_t>(bytes));
        if (!array->pvData) {
            std::free(block);
            return nullptr;
        }
    }
    return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements)
{
    SAFEARRAYBOUND bound{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array)
{
    if (!array)
        return S_OK;
    if (array->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    VARTYPE vt = vellumry::com::StoredType(array);
    if (array->pvData) {
        auto* data = static_cast<char*>(array->pvData);
        // Plain bytes need no clearing one by one before they go.
        if (vellumry::com::OwnsResources(vt)) {
            std::size_t count = SafeArrayElementCount(array);
            for (std::size_t i = 0; i < count; ++i)
                vellumry::com::ClearElement(vt, data + i * array->cbElements);
        }
        std::free(array->pvData);
    }
    std::free(reinterpret_cast<char*>(array) - vellumry::com::kPrefix);
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array)
{
    return array ? array->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* array)
{
    return array ? array->cbElements : 0;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* lowerBound)
{
    if (!array || !lowerBound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    *lowerBound = vellumry::com::Bound(array, dim).lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* upperBound)
{
    if (!array || !upperBound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& bound = vellumry::com::Bound(array, dim);
    *upperBound = static_cast<LONG>(static_cast<std::int64_t>(bound.lLbound) + bound.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt)
{
    if (!array || !vt)
        return E_INVALIDARG;
    if (!(array->fFeatures & FADF_HAVEVARTYPE))
        return E_INVALIDARG;
    *vt = vellumry::com::StoredType(array);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array)
{
    if (!array)
        return E_INVALIDARG;
    ++array->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array)
{
    if (!array)
        return E_INVALIDARG;
    if (array->cLocks == 0)
        return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data)
{
    if (!array || !data)
        return E_INVALIDARG;
    SafeArrayLock(array);
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array)
{
    return SafeArrayUnlock(array);
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value)
{
    if (!array || !indices)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!vellumry::com::ElementOffset(array, indices, &offset))
        return DISP_E_BADINDEX;
    VARTYPE vt = vellumry::com::StoredType(array);
    // Pointer types are passed as the pointer itself, everything else by
    // address of the value.
    const void* source = value;
    if (vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH)
        source = &value;
    else if (!value)
        return E_INVALIDARG;
    SafeArrayLock(array);
    // Copy first, so that storing an element into itself keeps it whole.
    alignas(VARIANT) unsigned char copy[sizeof(VARIANT)] = {};
    HRESULT hr = vellumry::com::CopyElement(vt, copy, source);
    if (SUCCEEDED(hr)) {
        char* element = static_cast<char*>(array->pvData) + offset;
        vellumry::com::ClearElement(vt, element);
        std::memcpy(element, copy, array->cbElements);
    }
    SafeArrayUnlock(array);
    return hr;
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value)
{
    if (!array || !indices || !value)
        return E_INVALIDARG;
    std::size_t offset = 0;
    if (!vellumry::com::ElementOffset(array, indices, &offset))
        return DISP_E_BADINDEX;
    VARTYPE vt = vellumry::com::StoredType(array);
    return vellumry::com::CopyElement(vt, value, static_cast<char*>(array->pvData) + offset);
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** copy)
{
    if (!copy)
        return E_INVALIDARG;
    *copy = nullptr;
    if (!array)
        return S_OK;
    VARTYPE vt = vellumry::com::StoredType(array);
    SAFEARRAYBOUND bounds[vellumry::com::kMaxDims] = {};
    for (UINT dim = 1; dim <= array->cDims; ++dim)
        bounds[dim - 1] = vellumry::com::Bound(array, dim);
    SAFEARRAY* result = SafeArrayCreate(vt, array->cDims, bounds);
    if (!result)
        return E_OUTOFMEMORY;
    std::size_t count = SafeArrayElementCount(array);
    if (!vellumry::com::OwnsResources(vt)) {
        // Plain bytes: one copy of the whole block.
        if (count > 0)
            std::memcpy(result->pvData, array->pvData, count * array->cbElements);
        *copy = result;
        return S_OK;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = i * array->cbElements;
        HRESULT hr = vellumry::com::CopyElement(vt, static_cast<char*>(result->pvData) + at,
                                                static_cast<char*>(array->pvData) + at);
        if (FAILED(hr)) {
            SafeArrayDestroy(result);
            return hr;
        }
    }
    *copy = result;
    return S_OK;
}
