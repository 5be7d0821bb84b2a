#pragma once

// MessageBoxA. The box text and caption are always written to standard error
// (as UTF-8), so that batch runs and tests see every message. When a display
// layer has installed a presenter, the box is also shown by it and its answer
// returned; without one, the answer is IDOK.

#include <string>

#include "platform/base/WinTypes.h"

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONHAND = MB_ICONERROR;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr int IDOK = 1;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace vellumry::user {

// Shows a box for real and returns the button pressed. Text and caption are
// UTF-8. Called on the thread that called MessageBoxA.
using MessageBoxPresenter = int (*)(HWND owner, const std::string& text, const std::string& caption, UINT type);

void SetMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace vellumry::user
