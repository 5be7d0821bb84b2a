// WinHelpA. There is no help engine for help files on this platform: every
// command but HELP_QUIT fails with ERROR_FILE_NOT_FOUND, as the call does
// when the help file cannot be found; HELP_QUIT, which only closes the
// engine, succeeds.

#include "platform/base/LastError.h"
#include "platform/ui/WinUser.h"

BOOL WinHelpA(HWND, LPCSTR, UINT command, ULONG_PTR)
{
    if (command == HELP_QUIT)
        return TRUE;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}
