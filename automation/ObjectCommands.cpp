// CreateObject, ClearObject, IsEmptyObject and CopyObject.

#include <string>

#include "automation/AutomationCommands.h"
#include "automation/ObjectHolder.h"
#include "automation/ValueConversion.h"
#include "platform/codepage/CodePage.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Guid.h"
#include "platform/com/Ref.h"
#include "platform/com/TypeLibraryRegistry.h"
#include "platform/kernel/Locale.h"
#include "runtime/Values.h"
#include "runtime/commands/CommandArguments.h"

namespace vellumry::automation {
namespace {

using com::Ref;
using runtime::commands::Arguments;

// Every server kind, and the same without the remote server, for machines
// that refuse a remote server with E_INVALIDARG.
constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD kLocalServers = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

std::string_view TextArgument(const Arguments& arguments, std::int32_t i)
{
    TypedValue value = ArgumentValue(arguments.At(i));
    return value.tag == runtime::kTextType ? runtime::TextView(value.Pointer<const char>()) : std::string_view();
}

ObjectHolder* HolderArgument(const Arguments& arguments, std::int32_t i)
{
    return HolderOf(ArgumentValue(arguments.At(i)));
}

// An object through the one entry of a type library that holds the name.
Ref<IUnknown> CreateFromTypeLibrary(std::u16string name, std::string_view file)
{
    std::u16string path = codepage::GbkToUtf16(file);
    Ref<ITypeLib> library;
    if (FAILED(LoadTypeLib(path.c_str(), library.Put())) || !library)
        return nullptr;
    ITypeInfo* infos[2] = {};
    MEMBERID members[2] = {};
    USHORT found = 2;
    ULONG hash = LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), name.c_str());
    Ref<IUnknown> object;
    if (SUCCEEDED(library->FindName(name.data(), hash, infos, members, &found))) {
        Ref<ITypeInfo> first = Ref<ITypeInfo>::Adopt(found > 0 ? infos[0] : nullptr);
        Ref<ITypeInfo> second = Ref<ITypeInfo>::Adopt(found > 1 ? infos[1] : nullptr);
        if (found == 1)
            first->CreateInstance(nullptr, IID_IUnknown, object.PutVoid());
    }
    if (file.find('\\') != std::string_view::npos)
        RegisterTypeLib(library.Get(), path.c_str(), nullptr);
    return object;
}

Ref<IUnknown> CreateFromClass(const std::u16string& name)
{
    CLSID clsid{};
    HRESULT hr = name.starts_with(u'{') ? CLSIDFromString(name.c_str(), &clsid) : CLSIDFromProgID(name.c_str(), &clsid);
    if (FAILED(hr))
        return nullptr;
    Ref<IUnknown> object;
    hr = CoCreateInstance(clsid, nullptr, kAnyServer, IID_IUnknown, object.PutVoid());
    if (hr == E_INVALIDARG)
        hr = CoCreateInstance(clsid, nullptr, kLocalServers, IID_IUnknown, object.PutVoid());
    return SUCCEEDED(hr) ? object : nullptr;
}

bool Create(ObjectHolder* holder, std::string_view name, bool withLibrary, std::string_view library)
{
    std::u16string wideName = codepage::GbkToUtf16(name);
    Ref<IUnknown> object;
    if (withLibrary && !name.starts_with('{'))
        object = CreateFromTypeLibrary(wideName, library);
    if (!object)
        object = CreateFromClass(wideName);
    if (!object || FAILED(OleRun(object.Get())))
        return false;
    ClearHolder(holder);
    holder->object = object.Detach();
    return true;
}

}  // namespace

void CreateObject(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments a(count, arguments);
    ObjectHolder* holder = HolderArgument(a, 0);
    bool withLibrary = a.Count() >= 3 && ArgumentValue(a.At(2)).tag == runtime::kTextType;
    bool created = holder && Create(holder, TextArgument(a, 1), withLibrary, TextArgument(a, 2));
    *result = TypedValue::OfBool(created);
}

void ClearObject(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    ClearHolder(HolderArgument(Arguments(count, arguments), 0));
}

void IsEmptyObject(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ObjectHolder* holder = HolderArgument(Arguments(count, arguments), 0);
    *result = TypedValue::OfBool(!holder || !holder->object);
}

void CopyObject(TypedValue*, std::int32_t count, const TypedValue* arguments)
{
    Arguments a(count, arguments);
    ObjectHolder* target = HolderArgument(a, 0);
    ObjectHolder* source = HolderArgument(a, 1);
    if (!target || target == source)
        return;
    // The target is fresh: what it held is overwritten, not released.
    target->object = source ? source->object : nullptr;
    target->recordData = nullptr;
    if (target->object)
        target->object->AddRef();
}

}  // namespace vellumry::automation
