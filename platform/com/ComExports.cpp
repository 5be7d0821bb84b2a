#include "platform/com/ComExports.h"

#include "platform/com/Apartment.h"
#include "platform/com/Bstr.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Guid.h"
#include "platform/com/SafeArray.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "platform/com/VariantApi.h"
#include "platform/modules/ModuleRegistry.h"

namespace vellumry::com {

void RegisterComExports()
{
    using modules::Export;
    modules::RegisterBuiltinExports("ole32", {
                                                 Export("CoInitialize", &CoInitialize),
                                                 Export("CoInitializeEx", &CoInitializeEx),
                                                 Export("CoUninitialize", &CoUninitialize),
                                                 Export("OleInitialize", &OleInitialize),
                                                 Export("OleUninitialize", &OleUninitialize),
                                                 Export("CoCreateInstance", &CoCreateInstance),
                                                 Export("CLSIDFromProgID", &CLSIDFromProgID),
                                                 Export("CLSIDFromString", &CLSIDFromString),
                                                 Export("StringFromGUID2", &StringFromGUID2),
                                                 Export("OleRun", &OleRun),
                                             });
    modules::RegisterBuiltinExports("oleaut32", {
                                                    Export("SysAllocString", &SysAllocString),
                                                    Export("SysAllocStringLen", &SysAllocStringLen),
                                                    Export("SysFreeString", &SysFreeString),
                                                    Export("SysStringLen", &SysStringLen),
                                                    Export("SysStringByteLen", &SysStringByteLen),
                                                    Export("VariantInit", &VariantInit),
                                                    Export("VariantClear", &VariantClear),
                                                    Export("VariantCopy", &VariantCopy),
                                                    Export("VariantCopyInd", &VariantCopyInd),
                                                    Export("VariantChangeType", &VariantChangeType),
                                                    Export("VariantChangeTypeEx", &VariantChangeTypeEx),
                                                    Export("SafeArrayCreate", &SafeArrayCreate),
                                                    Export("SafeArrayCreateVector", &SafeArrayCreateVector),
                                                    Export("SafeArrayDestroy", &SafeArrayDestroy),
                                                    Export("SafeArrayGetDim", &SafeArrayGetDim),
                                                    Export("SafeArrayGetElemsize", &SafeArrayGetElemsize),
                                                    Export("SafeArrayGetLBound", &SafeArrayGetLBound),
                                                    Export("SafeArrayGetUBound", &SafeArrayGetUBound),
                                                    Export("SafeArrayGetVartype", &SafeArrayGetVartype),
                                                    Export("SafeArrayLock", &SafeArrayLock),
                                                    Export("SafeArrayUnlock", &SafeArrayUnlock),
                                                    Export("SafeArrayAccessData", &SafeArrayAccessData),
                                                    Export("SafeArrayUnaccessData", &SafeArrayUnaccessData),
                                                    Export("SafeArrayPutElement", &SafeArrayPutElement),
                                                    Export("SafeArrayGetElement", &SafeArrayGetElement),
                                                    Export("SafeArrayCopy", &SafeArrayCopy),
                                                    Export("LoadTypeLib", &LoadTypeLib),
                                                    Export("RegisterTypeLib", &RegisterTypeLib),
                                                    Export("QueryPathOfRegTypeLib", &QueryPathOfRegTypeLib),
                                                    Export("LHashValOfNameSys", &LHashValOfNameSys),
                                                });
}

}  // namespace vellumry::com
