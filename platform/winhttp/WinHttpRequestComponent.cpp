#include "platform/winhttp/WinHttpRequestComponent.h"

#include "platform/com/ClassRegistry.h"
#include "platform/winhttp/private/WinHttpRequestObject.h"

namespace vellumry::winhttp {
namespace {

HRESULT CreateRequest(REFIID riid, void** object)
{
    return com::MakeObject<WinHttpRequestObject>()->QueryInterface(riid, object);
}

}  // namespace

void RegisterWinHttpRequestComponent()
{
    com::RegisterComClass({u"WinHttp.WinHttpRequest.5.1", kWinHttpRequestClassId, &CreateRequest});
}

}  // namespace vellumry::winhttp
