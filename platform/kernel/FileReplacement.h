#pragma once

// Writing a whole file so that nobody ever finds it half written. The bytes
// go to a new temporary file in the target's folder, which takes the target's
// name only once every byte is written and the temporary file is closed. On
// any failure the temporary file is deleted and an existing target keeps its
// old content.
//
// What a user expects of an overwritten file stays: it keeps its permission
// bits, and a target that is a symbolic link stays a link: the file it
// points to is the one replaced (in that file's folder). Temporary names
// carry the process and thread ids, so two writers never pick the same one.
//
// A worker told to stop (TerminateThread) writes no file: it starts none,
// abandons one under way and refuses the rename, failing with
// ERROR_OPERATION_ABORTED; a rename already under way when the stop comes
// finishes before the stop returns (FileCommitGuard.h).
//
// While the bytes are written, an existing target is held open for writing
// with no sharing, so the outcomes of the plain exclusive open stay: a target
// that another opener of this process holds, a read-only target and a folder
// are refused before anything is written, and no other opener can read or
// write the target meanwhile.
//
// Built on the kernel file stand-ins (FileApi.h); names are runtime texts.

#include <cstdint>
#include <span>

#include "platform/base/WinTypes.h"

namespace vellumry::kernel {

// Returns TRUE when the target now holds exactly the pieces in order; FALSE
// with the last error of the first failing step otherwise.
BOOL ReplaceFileContents(LPCSTR fileName, std::span<const std::span<const std::uint8_t>> pieces);

}  // namespace vellumry::kernel
