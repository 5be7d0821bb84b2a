// Vellumry's program entry. So far the program carries its description and
// can show it: `vellumry --inspect` prints the program header, the library
// table, the DLL command table and the start form's units.

#include <cstring>
#include <iostream>

#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "app/inspect/BlockSniff.h"
#include "app/inspect/ProgramInspector.h"

int main(int argc, char** argv)
{
    using namespace vellumry::app;
    if (argc == 2 && std::strcmp(argv[1], "--inspect") == 0) {
        bool read = InspectProgram(ProgramDescription(), kHandlerNames, std::cout);
        std::cout << "Program icon: " << DescribeBlock(ProgramIconBytes(), vellumry::units::BlockContent::Picture)
                  << "\n";
        return read ? 0 : 1;
    }
    if (argc > 1) {
        std::cerr << "usage: vellumry [--inspect]\n";
        return 2;
    }
    return 0;
}
