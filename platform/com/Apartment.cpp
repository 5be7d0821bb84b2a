#include "platform/com/Apartment.h"

namespace vellumry::com {
namespace {

struct ThreadApartment {
    int count = 0;
    DWORD kind = COINIT_APARTMENTTHREADED;
};

thread_local ThreadApartment t_apartment;

}  // namespace

int ApartmentInitializations()
{
    return t_apartment.count;
}

}  // namespace vellumry::com

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags)
{
    using vellumry::com::t_apartment;
    if (reserved != nullptr)
        return E_INVALIDARG;
    DWORD kind = flags & COINIT_APARTMENTTHREADED;
    if (t_apartment.count > 0) {
        if (t_apartment.kind != kind)
            return RPC_E_CHANGED_MODE;
        ++t_apartment.count;
        return S_FALSE;
    }
    t_apartment.kind = kind;
    t_apartment.count = 1;
    return S_OK;
}

HRESULT CoInitialize(LPVOID reserved)
{
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize()
{
    using vellumry::com::t_apartment;
    if (t_apartment.count > 0)
        --t_apartment.count;
}

HRESULT OleInitialize(LPVOID reserved)
{
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

void OleUninitialize()
{
    CoUninitialize();
}
