#pragma once

// The runtime's application object: the one framework application of the
// process. Its initialise-instance step runs the whole program through the
// application's program entry; its exit-instance step runs the shutdown; its
// idle step gives the loaded forms their idle calls.

#include "platform/ui/UiApplication.h"

namespace vellumry::runtime {

class RuntimeApplication : public ui::UiApplication {
public:
    // The application's program entry: runs the program and returns 0.
    using ProgramEntry = int (*)();

    RuntimeApplication(int& argc, char** argv, ProgramEntry entry);

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnIdle(long count) override;

private:
    ProgramEntry m_entry;
};

}  // namespace vellumry::runtime
