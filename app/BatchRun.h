#pragma once

// The batch mode: the real program with its real window, driven without a
// person. Once the start window is up, a driver thread does what a person
// would, each step carried to the window thread: it types the address and
// the two page numbers into their boxes, presses 解析 and waits until the
// parse worker has ended, presses the folder button and answers the folder
// chooser with the batch's folder, presses 下载 and waits until the download
// worker has ended. Every status-bar text is printed (UTF-8) as it changes;
// at the end a summary of the rows, then the window is closed and the
// program ends as usual. Without a display (offscreen) the window draws
// nothing nobody would see; the screenshot is drawn whole.
//
// The outcome (ExitCode): 0 when every row was downloaded ("下载完成"); 1
// when some row was not, when the parse found no picture, when a step could
// not be taken, or when the time limit ran out (the workers are then
// stopped with 停止).
//
// Construct and run on the main thread, like any application object.

#include <atomic>
#include <cstdio>
#include <thread>

#include "app/BatchOptions.h"
#include "runtime/RuntimeApplication.h"

namespace vellumry::app {

class BatchRun : public runtime::RuntimeApplication {
public:
    // `options.folder` is an absolute host path of an existing folder.
    BatchRun(int& argc, char** argv, ProgramEntry entry, BatchOptions options);
    ~BatchRun() override;

    bool OnIdle(long count) override;

    // Whether the driver went through to the end (false when the window
    // closed under it).
    bool Finished() const { return m_finished.load(); }
    int ExitCode() const { return m_exitCode.load(); }

private:
    void Drive();

    BatchOptions m_options;
    std::thread m_driver;
    bool m_started = false;
    std::atomic<bool> m_finished{false};
    std::atomic<int> m_exitCode{1};
};

}  // namespace vellumry::app
