#pragma once

// IUnknown and the small interfaces the automation layer asks objects for.
// Every interface names its identifier as kIid, so Ref<T>::QueryFrom and
// ComImplementation can ask for it by type.
//
// As documented: QueryInterface hands out a counted reference (or null and
// E_NOINTERFACE), asking any interface of an object for IUnknown gives the
// same pointer, AddRef and Release return the new count, and an object frees
// itself when the count reaches zero. Objects are used on the thread that
// made them, like objects of a single-threaded apartment; their counts are
// atomic all the same.

#include "platform/com/ComTypes.h"
#include "platform/com/Guid.h"

struct IUnknown {
    static constexpr IID kIid = IID_IUnknown;

    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

// OleRun asks an object for this to put it into its running state.
struct IRunnableObject : IUnknown {
    static constexpr IID kIid = IID_IRunnableObject;

    virtual HRESULT Run(void* bindContext) = 0;
    virtual BOOL IsRunning() = 0;

protected:
    ~IRunnableObject() = default;
};

// The description of a user-defined record. Only destruction of a record's
// data is needed here.
struct IRecordInfo : IUnknown {
    static constexpr IID kIid = IID_IRecordInfo;

    // Releases what the record's fields hold and frees the record itself.
    virtual HRESULT RecordDestroy(void* record) = 0;

protected:
    ~IRecordInfo() = default;
};
