#include "tests/web/RecordingRequestObject.h"

#include <atomic>
#include <mutex>

#include "platform/codepage/CodePage.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/DispatchObject.h"
#include "platform/com/ByteArray.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VariantApi.h"
#include "platform/winhttp/WinHttpRequestComponent.h"

namespace vellumry::test {
namespace {

using com::InvokeCall;
using com::MemberKind;

struct Recorder {
    std::mutex lock;
    std::vector<std::string> log;
    CannedResponse response;
    std::atomic<int> live{0};
};

Recorder& TheRecorder()
{
    static Recorder recorder;
    return recorder;
}

void Log(std::string entry)
{
    std::lock_guard guard(TheRecorder().lock);
    TheRecorder().log.push_back(std::move(entry));
}

std::string Gbk(std::u16string_view text)
{
    return codepage::Utf16ToGbk(text);
}

// A VARIANT argument as the log shows it.
std::string Describe(const VARIANT& argument)
{
    const VARIANT* value = &argument;
    while (value->vt == (VT_BYREF | VT_VARIANT))
        value = value->pvarVal;
    if (value->vt == (VT_ARRAY | VT_UI1)) {
        void* data = nullptr;
        SafeArrayAccessData(value->parray, &data);
        std::string bytes(static_cast<const char*>(data), com::SafeArrayElementCount(value->parray));
        SafeArrayUnaccessData(value->parray);
        return "bytes[" + bytes + "]";
    }
    com::ScopedVariant text;
    if (FAILED(VariantChangeType(text.Ptr(), value, 0, VT_BSTR)))
        return "?";
    return "[" + Gbk(com::BstrView(text->bstrVal)) + "]";
}

class RecordingRequest final : public com::DispatchObject<RecordingRequest> {
public:
    RecordingRequest() { ++TheRecorder().live; }
    ~RecordingRequest() override { --TheRecorder().live; }

    static const com::DispatchTable<RecordingRequest>& Table()
    {
        using R = RecordingRequest;
        constexpr USHORT kOptional = PARAMFLAG_FIN | PARAMFLAG_FOPT;
        static const com::DispatchTable<RecordingRequest> table(
            u"IWinHttpRequest", {0x06F29373, 0x5C5A, 0x4B54, {0xB0, 0x25, 0x6E, 0xF1, 0xBF, 0x8A, 0xBF, 0x0E}},
            {
                {{u"SetProxy", 13, MemberKind::Method, VT_EMPTY,
                  {{u"ProxySetting", VT_I4}, {u"ProxyServer", VT_VARIANT, kOptional}, {u"BypassList", VT_VARIANT, kOptional}}},
                 &R::SetProxy},
                {{u"Open", 1, MemberKind::Method, VT_EMPTY,
                  {{u"Method", VT_BSTR}, {u"Url", VT_BSTR}, {u"Async", VT_VARIANT, kOptional}}},
                 &R::Open},
                {{u"SetRequestHeader", 2, MemberKind::Method, VT_EMPTY, {{u"Header", VT_BSTR}, {u"Value", VT_BSTR}}},
                 &R::SetRequestHeader},
                {{u"GetAllResponseHeaders", 4, MemberKind::Method, VT_BSTR}, &R::GetAllResponseHeaders},
                {{u"Send", 5, MemberKind::Method, VT_EMPTY, {{u"Body", VT_VARIANT, kOptional}}}, &R::Send},
                {{u"Option", 6, MemberKind::PropertyPut, VT_EMPTY, {{u"Option", VT_I4}, {u"Value", VT_VARIANT}}},
                 &R::PutOption},
                {{u"Status", 7, MemberKind::PropertyGet, VT_R8}, &R::GetStatus},
                {{u"ResponseBody", 10, MemberKind::PropertyGet, VT_VARIANT}, &R::GetResponseBody},
                {{u"SetTimeouts", 16, MemberKind::Method, VT_EMPTY,
                  {{u"ResolveTimeout", VT_I4}, {u"ConnectTimeout", VT_I4}, {u"SendTimeout", VT_I4}, {u"ReceiveTimeout", VT_I4}}},
                 &R::SetTimeouts},
            });
        return table;
    }

private:
    HRESULT SetProxy(InvokeCall& call)
    {
        Log("SetProxy " + std::to_string(call.Int(0)) + " " + Describe(call.Argument(1)));
        return S_OK;
    }
    HRESULT Open(InvokeCall& call)
    {
        Log("Open " + Gbk(call.Text(0)) + " " + Gbk(call.Text(1)) + " " + Describe(call.Argument(2)));
        return S_OK;
    }
    HRESULT SetRequestHeader(InvokeCall& call)
    {
        Log("SetRequestHeader [" + Gbk(call.Text(0)) + "] [" + Gbk(call.Text(1)) + "]");
        return S_OK;
    }
    HRESULT GetAllResponseHeaders(InvokeCall& call)
    {
        Log("GetAllResponseHeaders");
        std::lock_guard guard(TheRecorder().lock);
        call.ReturnText(codepage::GbkToUtf16(TheRecorder().response.headers));
        return S_OK;
    }
    HRESULT Send(InvokeCall& call)
    {
        Log("Send " + (call.IsGiven(0) ? Describe(call.Argument(0)) : std::string("nothing")));
        return S_OK;
    }
    HRESULT PutOption(InvokeCall& call)
    {
        Log("Option " + std::to_string(call.Int(0)) + " = " + Describe(call.Argument(1)));
        return S_OK;
    }
    HRESULT GetStatus(InvokeCall& call)
    {
        Log("Status");
        call.ReturnDouble(TheRecorder().response.status);
        return S_OK;
    }
    HRESULT GetResponseBody(InvokeCall& call)
    {
        Log("ResponseBody");
        std::lock_guard guard(TheRecorder().lock);
        const std::string& body = TheRecorder().response.body;
        VARIANT value;
        com::MakeByteArrayVariant({reinterpret_cast<const std::uint8_t*>(body.data()), body.size()}, 0, &value);
        call.ReturnVariant(value);
        return S_OK;
    }
    HRESULT SetTimeouts(InvokeCall& call)
    {
        Log("SetTimeouts " + std::to_string(call.Int(0)) + " " + std::to_string(call.Int(1)) + " " +
            std::to_string(call.Int(2)) + " " + std::to_string(call.Int(3)));
        return S_OK;
    }
};

HRESULT CreateRecording(REFIID riid, void** object)
{
    return com::MakeObject<RecordingRequest>()->QueryInterface(riid, object);
}

}  // namespace

void RecordRequestObject(CannedResponse response)
{
    {
        std::lock_guard guard(TheRecorder().lock);
        TheRecorder().log.clear();
        TheRecorder().response = std::move(response);
    }
    com::RegisterComClass({u"WinHttp.WinHttpRequest.5.1", {0x11111111, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, &CreateRecording});
}

void RestoreRequestComponent()
{
    winhttp::RegisterWinHttpRequestComponent();
}

std::vector<std::string> RequestObjectLog()
{
    std::lock_guard guard(TheRecorder().lock);
    return TheRecorder().log;
}

int LiveRequestObjects()
{
    return TheRecorder().live.load();
}

}  // namespace vellumry::test
