#pragma once

// The file functions of the Windows kernel that the runtime calls, as
// documented, for the cases this program reaches:
//
// CreateFileA(name, access, share, security, disposition, attributes, template)
// - access: GENERIC_READ and/or GENERIC_WRITE; disposition: CREATE_NEW,
//   CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS, TRUNCATE_EXISTING.
// - Sharing is honoured between all openers in this process: an open fails
//   with ERROR_SHARING_VIOLATION when an earlier open of the same file does
//   not share the access asked for, or asks for access the new share mode
//   does not allow. The check comes before any truncation.
// - CREATE_ALWAYS and OPEN_ALWAYS on an existing file succeed with the last
//   error ERROR_ALREADY_EXISTS, otherwise ERROR_SUCCESS; CREATE_NEW on an
//   existing file fails with ERROR_FILE_EXISTS; OPEN_EXISTING and
//   TRUNCATE_EXISTING on a missing file fail with ERROR_FILE_NOT_FOUND, and any
//   disposition whose folder is missing with ERROR_PATH_NOT_FOUND.
// - Write access to a file with the read-only attribute (no write permission
//   for its owner), or any open of a folder, fails with ERROR_ACCESS_DENIED,
//   whoever the process runs as. A name with a character Windows forbids in
//   names (< > : " | ? * or a control character; ":" is allowed only after a
//   drive letter) fails with ERROR_INVALID_NAME.
// - FILE_ATTRIBUTE_READONLY among the attributes creates a read-only file.
//   The security attributes and the template file are ignored.
//
// ReadFile and WriteFile work synchronously at the file position (no
// OVERLAPPED); WriteFile writes every byte or fails. GetFileSize answers the
// low and high halves of the size. DeleteFileA and MoveFileExA refuse a file
// that is open without FILE_SHARE_DELETE (ERROR_SHARING_VIOLATION) and a
// read-only file (ERROR_ACCESS_DENIED); MoveFileExA replaces an existing
// target only with MOVEFILE_REPLACE_EXISTING (else ERROR_ALREADY_EXISTS),
// never replaces a folder (ERROR_ACCESS_DENIED), and moves across file
// systems only with MOVEFILE_COPY_ALLOWED, which this stand-in does not offer
// (ERROR_NOT_SAME_DEVICE).
//
// Names are runtime texts (GBK, "\" separators) mapped by PathMapping.h.
// Handles are closed with CloseHandle (HandleTable.h). Any thread may call;
// one handle should be used by one thread at a time.

#include "platform/base/WinTypes.h"
#include "platform/kernel/FileSearch.h"
#include "platform/kernel/HandleTable.h"

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;

inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD FILE_SHARE_DELETE = 0x00000004;

inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
inline constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;

inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
BOOL DeleteFileA(LPCSTR fileName);
BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags);
