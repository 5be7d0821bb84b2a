#pragma once

// The last step of writing a file (the rename that makes a finished download
// visible), or another change a worker makes without the window thread (a
// report list's rows), taken so that a worker's stop cannot land in the
// middle of it:
// the guard holds the calling worker's commit lock, which the stop takes to
// set its mark. Either the stop comes first and the guard refuses the
// commit, or the commit completes before the stop returns.
//
//     FileCommitGuard commit;
//     if (!commit.MayCommit())
//         ... abandon: delete the temporary file, fail with
//             ERROR_OPERATION_ABORTED
//     MoveFileExA(temporary, target, ...);
//
// Hold the guard only around the commit itself; nothing under it may wait
// for another thread. On threads that CreateThread did not start the guard
// holds nothing and always allows the commit.

#include <mutex>

namespace vellumry::kernel {

class FileCommitGuard {
public:
    FileCommitGuard();
    FileCommitGuard(const FileCommitGuard&) = delete;
    FileCommitGuard& operator=(const FileCommitGuard&) = delete;

    // False when the calling thread has been told to stop.
    bool MayCommit() const { return m_mayCommit; }

private:
    std::unique_lock<std::mutex> m_lock;
    bool m_mayCommit = true;
};

}  // namespace vellumry::kernel
