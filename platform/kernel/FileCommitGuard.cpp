#include "platform/kernel/FileCommitGuard.h"

#include "platform/kernel/ThreadControl.h"

namespace vellumry::kernel {

FileCommitGuard::FileCommitGuard()
{
    ThreadControl* self = ThreadControl::Current();
    if (!self)
        return;
    m_lock = std::unique_lock(self->CommitLock());
    m_mayCommit = !self->StopRequested();
}

}  // namespace vellumry::kernel
