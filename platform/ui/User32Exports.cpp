#include "platform/ui/User32Exports.h"

#include "platform/modules/ModuleRegistry.h"
#include "platform/ui/WinUser.h"
#include "platform/user/MessageBox.h"

namespace vellumry::ui {

void RegisterUser32Exports()
{
    using modules::Export;
    modules::RegisterBuiltinExports("user32", {
                                                  Export("SendMessageA", &SendMessageA),
                                                  Export("PostMessageA", &PostMessageA),
                                                  Export("PostQuitMessage", &PostQuitMessage),
                                                  Export("DefWindowProcA", &DefWindowProcA),
                                                  Export("MessageBoxA", &MessageBoxA),
                                                  Export("RegisterClassA", &RegisterClassA),
                                                  Export("GetClassInfoA", &GetClassInfoA),
                                                  Export("CreateWindowExA", &CreateWindowExA),
                                                  Export("DestroyWindow", &DestroyWindow),
                                                  Export("IsWindow", &IsWindow),
                                                  Export("ShowWindow", &ShowWindow),
                                                  Export("IsWindowVisible", &IsWindowVisible),
                                                  Export("EnableWindow", &EnableWindow),
                                                  Export("IsWindowEnabled", &IsWindowEnabled),
                                                  Export("MoveWindow", &MoveWindow),
                                                  Export("SetWindowPos", &SetWindowPos),
                                                  Export("GetWindowRect", &GetWindowRect),
                                                  Export("GetClientRect", &GetClientRect),
                                                  Export("SetParent", &SetParent),
                                                  Export("GetParent", &GetParent),
                                                  Export("SetFocus", &SetFocus),
                                                  Export("GetFocus", &GetFocus),
                                                  Export("SetWindowTextA", &SetWindowTextA),
                                                  Export("GetWindowTextA", &GetWindowTextA),
                                                  Export("GetWindowLongA", &GetWindowLongA),
                                                  Export("SetWindowLongA", &SetWindowLongA),
                                                  Export("GetSystemMetrics", &GetSystemMetrics),
                                                  Export("GetSysColor", &GetSysColor),
                                                  Export("LoadCursorA", &LoadCursorA),
                                                  Export("SetCursor", &SetCursor),
                                                  Export("WinHelpA", &WinHelpA),
                                              });
}

}  // namespace vellumry::ui
