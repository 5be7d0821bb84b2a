// Vellumry's process entry.
//   vellumry                      runs the program
//   vellumry --inspect            prints the program description
//   vellumry --render-png FILE    starts, saves the painted start window as a
//                                 PNG picture and ends

#include <cstring>
#include <iostream>

#include "app/ProgramEntry.h"
#include "app/ProgramWiring.h"
#include "app/StartWindowSnapshot.h"
#include "app/description/ProgramDescription.h"
#include "app/forms/HandlerNames.h"
#include "runtime/RuntimeApplication.h"
#include "tools/listing/BlockSniff.h"
#include "tools/listing/ProgramListing.h"

int main(int argc, char** argv)
{
    using namespace vellumry;
    using namespace vellumry::app;
    if (argc == 2 && std::strcmp(argv[1], "--inspect") == 0) {
        bool read = listing::ListProgram(ProgramDescription(), kHandlerNames, std::cout);
        std::cout << "Program icon: " << listing::DescribeBlock(ProgramIconBytes(), units::BlockContent::Picture) << "\n";
        return read ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--render-png") == 0) {
        WireProgram();
        StartWindowSnapshot application(argc, argv, ProgramEntry, argv[2]);
        int code = application.Run();
        if (!application.Saved()) {
            std::cerr << "vellumry: the start window could not be saved to " << argv[2] << "\n";
            return 1;
        }
        return code;
    }
    if (argc > 1) {
        std::cerr << "usage: vellumry [--inspect | --render-png FILE]\n";
        return 2;
    }
    WireProgram();
    runtime::RuntimeApplication application(argc, argv, ProgramEntry);
    return application.Run();
}
