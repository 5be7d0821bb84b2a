#pragma once

// The VARIANT functions as documented.
//
// - VariantClear releases what the variant owns (a BSTR, an interface, an
//   array; nothing for a reference) and leaves VT_EMPTY; an invalid type
//   gives DISP_E_BADVARTYPE and leaves the variant alone.
// - VariantCopy clears the target and copies the source deeply (a new BSTR,
//   AddRef, SafeArrayCopy); a reference is copied as the same reference.
// - VariantCopyInd does the same but copies what a reference points at; a
//   reference to a variant that is itself a reference is E_INVALIDARG.
// - VariantChangeType(Ex) converts between the types listed in
//   VariantTypes.h. A reference is read through; an object is asked for its
//   value property (DISPID_VALUE) unless VARIANT_NOVALUEPROP is given. Floating
//   values go to integers rounded half to even; out-of-range results give
//   DISP_E_OVERFLOW; texts are read and written in the locale of the call
//   (digits, '.', optional ',' grouping, an exponent; dates as year/month/day
//   with an optional time), a boolean turns into "-1" or "0" ("True" or
//   "False" with VARIANT_ALPHABOOL), and a number into its shortest decimal
//   form with at most 15 significant digits (7 for VT_R4). VT_BOOL goes to an
//   unsigned type through VT_I2, so true overflows. A conversion to the
//   source's own type is a copy. Target and source may be the same variant.

#include "platform/com/ComTypes.h"
#include "platform/com/VariantTypes.h"

void VariantInit(VARIANTARG* variant);
HRESULT VariantClear(VARIANTARG* variant);
HRESULT VariantCopy(VARIANTARG* target, const VARIANTARG* source);
HRESULT VariantCopyInd(VARIANT* target, const VARIANTARG* source);
HRESULT VariantChangeType(VARIANTARG* target, const VARIANTARG* source, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANTARG* target, const VARIANTARG* source, LCID lcid, USHORT flags, VARTYPE vt);

namespace vellumry::com {

// True for a type VARIANT can hold and the functions above handle, with or
// without VT_BYREF or VT_ARRAY.
bool IsSupportedVariantType(VARTYPE vt);

// A VARIANT that clears itself when it goes.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_value); }
    ~ScopedVariant() { VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Ptr() { return &m_value; }
    VARIANT& Get() { return m_value; }
    const VARIANT& Get() const { return m_value; }
    VARIANT* operator->() { return &m_value; }
    const VARIANT* operator->() const { return &m_value; }
    // Hands the value on and leaves this one empty.
    VARIANT Release()
    {
        VARIANT value = m_value;
        VariantInit(&m_value);
        return value;
    }

private:
    VARIANT m_value;
};

}  // namespace vellumry::com
