#include "platform/user/MessageBox.h"

#include <atomic>
#include <cstdio>

#include "platform/codepage/CodePage.h"

namespace {
std::atomic<vellumry::user::MessageBoxPresenter> g_presenter{nullptr};
}

namespace vellumry::user {

void SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    g_presenter.store(presenter);
}

}  // namespace vellumry::user

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    std::string utf8Text = vellumry::codepage::GbkToUtf8(text ? text : "");
    // A null caption is shown as "Error" by the original; keep that default.
    std::string utf8Caption = vellumry::codepage::GbkToUtf8(caption ? caption : "Error");
    std::fprintf(stderr, "[%s]\n%s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    if (auto presenter = g_presenter.load())
        return presenter(owner, utf8Text, utf8Caption, type);
    return IDOK;
}
