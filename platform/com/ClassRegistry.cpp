#include "platform/com/ClassRegistry.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/Apartment.h"
#include "platform/com/Ref.h"
#include "platform/com/TypeDescription.h"

namespace vellumry::com {
namespace {

struct RegisteredClass {
    std::u16string progId;
    CLSID clsid;
    ClassFactory create;
};

struct Registry {
    std::mutex lock;
    std::vector<RegisteredClass> classes;
    bool distributed = true;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterComClass(const ClassRegistration& registration)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    std::erase_if(registry.classes, [&](const RegisteredClass& c) {
        return registration.progId.empty() ? c.progId.empty() && c.clsid == registration.clsid
                                           : SameName(c.progId, registration.progId);
    });
    // Every program identifier of the class makes it with the newest factory.
    for (RegisteredClass& c : registry.classes)
        if (c.clsid == registration.clsid)
            c.create = registration.create;
    registry.classes.push_back({std::u16string(registration.progId), registration.clsid, registration.create});
}

void UnregisterComClass(REFCLSID clsid)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    std::erase_if(registry.classes, [&](const RegisteredClass& c) { return c.clsid == clsid; });
}

void SetDistributedComAvailable(bool available)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    registry.distributed = available;
}

}  // namespace vellumry::com

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid)
{
    if (!progId || !clsid)
        return E_INVALIDARG;
    auto& registry = vellumry::com::TheRegistry();
    std::lock_guard lock(registry.lock);
    std::u16string_view sought(progId);
    for (const auto& c : registry.classes) {
        if (!c.progId.empty() && vellumry::com::SameName(c.progId, sought)) {
            *clsid = c.clsid;
            return S_OK;
        }
    }
    return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, LPVOID* object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (vellumry::com::ApartmentInitializations() == 0)
        return CO_E_NOTINITIALIZED;
    if (context & ~CLSCTX_ALL)
        return E_INVALIDARG;
    vellumry::com::ClassFactory create = nullptr;
    {
        auto& registry = vellumry::com::TheRegistry();
        std::lock_guard lock(registry.lock);
        if ((context & CLSCTX_REMOTE_SERVER) && !registry.distributed)
            return E_INVALIDARG;
        for (const auto& c : registry.classes)
            if (c.clsid == clsid)
                create = c.create;
    }
    if (!create || !(context & (CLSCTX_INPROC_SERVER | CLSCTX_REMOTE_SERVER)))
        return REGDB_E_CLASSNOTREG;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return create(riid, object);
}

HRESULT OleRun(IUnknown* object)
{
    if (!object)
        return E_INVALIDARG;
    auto runnable = vellumry::com::Ref<IRunnableObject>::QueryFrom(object);
    return runnable ? runnable->Run(nullptr) : S_OK;
}
