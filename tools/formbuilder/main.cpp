// The form builder: turns the application's form description into the window
// template that the executable embeds.
//
//   formbuilder --form <description> --handlers <Handlers.def>
//               [--asset <name>=<file>]... --output <template>
//
// The template is read back before it is written out, so a template that the
// program could not load never reaches the build.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "forms/description/EventHandlers.h"
#include "forms/description/FormTable.h"
#include "forms/description/TemplateWriter.h"
#include "tools/formbuilder/FormDescriptionParser.h"
#include "tools/formbuilder/FormTokens.h"
#include "tools/formbuilder/HandlerList.h"

namespace {

using vellumry::formbuilder::FormBuildError;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormBuildError("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Written beside the target and renamed, so an interrupted build leaves no
// half template behind.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw FormBuildError("cannot write " + temporary);
    }
    std::filesystem::rename(temporary, path);
}

int Run(int argc, char** argv)
{
    std::string formPath, handlersPath, outputPath;
    vellumry::formbuilder::BuildInputs inputs;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc)
            throw FormBuildError(option + " needs a value");
        std::string value = argv[++i];
        if (option == "--form") {
            formPath = value;
        } else if (option == "--handlers") {
            handlersPath = value;
        } else if (option == "--output") {
            outputPath = value;
        } else if (option == "--asset") {
            auto equals = value.find('=');
            if (equals == std::string::npos || equals == 0)
                throw FormBuildError("--asset takes <name>=<file>");
            std::string content = ReadFile(value.substr(equals + 1));
            inputs.assets[value.substr(0, equals)].assign(content.begin(), content.end());
        } else {
            throw FormBuildError("unknown option " + option);
        }
    }
    if (formPath.empty() || handlersPath.empty() || outputPath.empty())
        throw FormBuildError("usage: formbuilder --form <file> --handlers <file> [--asset <name>=<file>]... "
                             "--output <file>");

    inputs.handlerNames = vellumry::formbuilder::ParseHandlerList(ReadFile(handlersPath));
    auto forms = vellumry::formbuilder::ParseFormDescription(ReadFile(formPath), formPath, inputs);
    std::vector<std::uint8_t> bytes = vellumry::forms::WriteTemplate(forms);
    if (!vellumry::forms::ReadTemplate(bytes, vellumry::forms::kHandlerCodeBase))
        throw FormBuildError("the written template does not read back");
    WriteFile(outputPath, bytes);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "formbuilder: " << error.what() << '\n';
        return 1;
    }
}
