#include "platform/com/VariantApi.h"

#include <cstring>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/Unknown.h"

namespace vellumry::com {
namespace {

// Copies the value a reference points at into `target` (which is empty).
HRESULT CopyReferenced(VARIANT* target, const VARIANT& source)
{
    VARTYPE base = source.vt & ~VT_BYREF;
    if (source.byref == nullptr)
        return E_INVALIDARG;
    if (base == VT_VARIANT) {
        const VARIANT* inner = source.pvarVal;
        if (inner->vt & VT_BYREF)
            return E_INVALIDARG;
        return VariantCopy(target, inner);
    }
    if (base & VT_ARRAY) {
        SAFEARRAY* copy = nullptr;
        HRESULT hr = SafeArrayCopy(*source.pparray, &copy);
        if (FAILED(hr))
            return hr;
        target->parray = copy;
    } else if (base == VT_BSTR) {
        BSTR text = *source.pbstrVal;
        if (text) {
            target->bstrVal = SysAllocStringLen(text, SysStringLen(text));
            if (!target->bstrVal)
                return E_OUTOFMEMORY;
        }
    } else if (base == VT_UNKNOWN || base == VT_DISPATCH) {
        target->punkVal = *source.ppunkVal;
        if (target->punkVal)
            target->punkVal->AddRef();
    } else {
        // The remaining types are plain values of an array element's size.
        std::memcpy(&target->llVal, source.byref, ArrayElementSize(base));
    }
    target->vt = base;
    return S_OK;
}

}  // namespace

bool IsSupportedVariantType(VARTYPE vt)
{
    VARTYPE base = vt & VT_TYPEMASK;
    if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF))
        return false;
    if (vt & VT_ARRAY)
        return ArrayElementSize(base) != 0;
    switch (base) {
    case VT_EMPTY:
    case VT_NULL: return vt == base;
    case VT_VARIANT: return (vt & VT_BYREF) != 0;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_BSTR:
    case VT_BOOL:
    case VT_ERROR:
    case VT_DISPATCH:
    case VT_UNKNOWN: return true;
    default: return false;
    }
}

}  // namespace vellumry::com

using vellumry::com::IsSupportedVariantType;

void VariantInit(VARIANTARG* variant)
{
    std::memset(variant, 0, sizeof *variant);
    variant->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* variant)
{
    if (!variant)
        return E_INVALIDARG;
    VARTYPE vt = variant->vt;
    if (!IsSupportedVariantType(vt))
        return DISP_E_BADVARTYPE;
    if (!(vt & VT_BYREF)) {
        if (vt & VT_ARRAY) {
            HRESULT hr = SafeArrayDestroy(variant->parray);
            if (FAILED(hr))
                return hr;
        } else if (vt == VT_BSTR) {
            SysFreeString(variant->bstrVal);
        } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && variant->punkVal) {
            variant->punkVal->Release();
        }
    }
    VariantInit(variant);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* target, const VARIANTARG* source)
{
    if (!target || !source)
        return E_INVALIDARG;
    if (target == source)
        return S_OK;
    VARTYPE vt = source->vt;
    if (!IsSupportedVariantType(vt))
        return DISP_E_BADVARTYPE;
    HRESULT hr = VariantClear(target);
    if (FAILED(hr))
        return hr;
    VARIANT copy = *source;
    if (!(vt & VT_BYREF)) {
        if (vt & VT_ARRAY) {
            hr = SafeArrayCopy(source->parray, &copy.parray);
            if (FAILED(hr))
                return hr;
        } else if (vt == VT_BSTR && source->bstrVal) {
            copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
            if (!copy.bstrVal)
                return E_OUTOFMEMORY;
        } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && source->punkVal) {
            source->punkVal->AddRef();
        }
    }
    *target = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* target, const VARIANTARG* source)
{
    if (!target || !source)
        return E_INVALIDARG;
    if (!(source->vt & VT_BYREF))
        return VariantCopy(target, source);
    if (!IsSupportedVariantType(source->vt))
        return DISP_E_BADVARTYPE;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = vellumry::com::CopyReferenced(&value, *source);
    if (FAILED(hr))
        return hr;
    // The source may be the target: it is read completely before this.
    hr = VariantClear(target);
    if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
    }
    *target = value;
    return S_OK;
}
