#include "platform/com/TypeLibraryRegistry.h"

#include <mutex>
#include <string>
#include <vector>

#include "platform/com/Bstr.h"
#include "platform/com/Ref.h"
#include "platform/com/private/NameFolding.h"

namespace vellumry::com {
namespace {

struct BuiltinLibrary {
    std::u16string file;  // folded, without ".dll"
    int resource;
    const LibraryDescription* description;
};

struct RegisteredLibrary {
    GUID libid;
    USHORT major;
    USHORT minor;
    std::u16string path;
};

struct Registry {
    std::mutex lock;
    std::vector<BuiltinLibrary> builtins;
    std::vector<RegisteredLibrary> registered;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

std::u16string FoldedFileName(std::u16string_view file)
{
    std::u16string folded;
    for (char16_t c : file)
        folded += FoldNameChar(c);
    if (folded.size() > 4 && folded.ends_with(u".dll"))
        folded.resize(folded.size() - 4);
    return folded;
}

// The file name and resource number of a type-library path; resource 0 when
// the path is malformed.
std::pair<std::u16string, int> SplitLibraryPath(std::u16string_view path)
{
    int resource = 1;
    std::size_t cut = path.find_last_of(u"\\/");
    if (cut != std::u16string_view::npos && cut + 1 < path.size()) {
        std::u16string_view tail = path.substr(cut + 1);
        bool digits = tail.size() <= 5;
        int number = 0;
        for (char16_t c : tail) {
            if (c < u'0' || c > u'9')
                digits = false;
            else
                number = number * 10 + (c - u'0');
        }
        if (digits) {
            resource = number;
            path = path.substr(0, cut);
        }
    }
    cut = path.find_last_of(u"\\/");
    std::u16string_view file = cut == std::u16string_view::npos ? path : path.substr(cut + 1);
    if (file.empty())
        resource = 0;
    return {FoldedFileName(file), resource};
}

}  // namespace

void RegisterBuiltinTypeLibrary(std::u16string_view file, int resource, const LibraryDescription& description)
{
    Registry& registry = TheRegistry();
    std::u16string folded = FoldedFileName(file);
    std::lock_guard lock(registry.lock);
    std::erase_if(registry.builtins,
                  [&](const BuiltinLibrary& b) { return b.file == folded && b.resource == resource; });
    registry.builtins.push_back({folded, resource, &description});
}

void UnregisterBuiltinTypeLibrary(std::u16string_view file, int resource)
{
    Registry& registry = TheRegistry();
    std::u16string folded = FoldedFileName(file);
    std::lock_guard lock(registry.lock);
    std::erase_if(registry.builtins,
                  [&](const BuiltinLibrary& b) { return b.file == folded && b.resource == resource; });
}

}  // namespace vellumry::com

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** library)
{
    using namespace vellumry::com;
    if (!file || !library)
        return E_INVALIDARG;
    *library = nullptr;
    auto [name, resource] = SplitLibraryPath(file);
    const LibraryDescription* description = nullptr;
    {
        Registry& registry = TheRegistry();
        std::lock_guard lock(registry.lock);
        for (const BuiltinLibrary& b : registry.builtins)
            if (b.file == name && b.resource == resource)
                description = b.description;
    }
    if (!description)
        return TYPE_E_CANTLOADLIBRARY;
    *library = MakeTypeLibrary(*description).Detach();
    return S_OK;
}

HRESULT RegisterTypeLib(ITypeLib* library, LPCOLESTR fullPath, LPCOLESTR)
{
    using namespace vellumry::com;
    if (!library || !fullPath)
        return E_INVALIDARG;
    TLIBATTR* attributes = nullptr;
    HRESULT hr = library->GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    RegisteredLibrary entry{attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, fullPath};
    library->ReleaseTLibAttr(attributes);
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    std::erase_if(registry.registered, [&](const RegisteredLibrary& r) {
        return r.libid == entry.libid && r.major == entry.major && r.minor == entry.minor;
    });
    registry.registered.push_back(std::move(entry));
    return S_OK;
}

HRESULT QueryPathOfRegTypeLib(REFGUID libid, USHORT major, USHORT minor, LCID, BSTR* path)
{
    using namespace vellumry::com;
    if (!path)
        return E_INVALIDARG;
    *path = nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.lock);
    for (const RegisteredLibrary& r : registry.registered) {
        if (r.libid == libid && r.major == major && r.minor == minor) {
            *path = AllocBstr(r.path);
            return *path ? S_OK : E_OUTOFMEMORY;
        }
    }
    return TYPE_E_LIBNOTREGISTERED;
}
