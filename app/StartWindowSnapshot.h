#pragma once

// The runtime's application object with one extra idle step: once the start
// form is up and the message loop has painted it, the window is saved as a
// PNG picture and closed, so the program ends normally.

#include <string>

#include "runtime/RuntimeApplication.h"

namespace vellumry::app {

class StartWindowSnapshot : public runtime::RuntimeApplication {
public:
    StartWindowSnapshot(int& argc, char** argv, ProgramEntry entry, std::string hostPath);

    bool OnIdle(long count) override;
    bool Saved() const { return m_saved; }

private:
    std::string m_path;
    bool m_taken = false;
    bool m_saved = false;
};

}  // namespace vellumry::app
