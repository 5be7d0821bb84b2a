#include "app/BatchOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace vellumry::app {
namespace {

BatchCommand Fail(std::string error)
{
    BatchCommand command;
    command.kind = BatchCommand::Kind::Error;
    command.error = std::move(error);
    return command;
}

// A week: longer is no limit at all.
constexpr int kMaxTimeoutSeconds = 7 * 24 * 3600;

bool IsPageNumber(std::string_view text)
{
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool IsHttpAddress(std::string_view text)
{
    for (std::string_view scheme : {"http://", "https://"})
        if (text.size() > scheme.size() && text.substr(0, scheme.size()) == scheme)
            return true;
    return false;
}

}  // namespace

const char* const kBatchUsage =
    "usage: vellumry --batch --address URL --from N --to M --folder DIR [--picture-host URL]\n"
    "                [--timeout SECONDS] [--screenshot FILE]\n"
    "  --address URL        gallery page address, as typed into the address box\n"
    "  --from N             first page to parse\n"
    "  --to M               last page to parse\n"
    "  --folder DIR         folder the pictures are saved in (made when missing)\n"
    "  --picture-host URL   host the pictures must come from (default: the settings\n"
    "                       file's 站点/图片主机, else http://127.0.0.1:8808);\n"
    "                       it is written there, as the setting it is\n"
    "  --timeout SECONDS    stop the workers and give up after this long\n"
    "                       (default: no limit)\n"
    "  --screenshot FILE    save the window as a PNG picture at the end\n"
    "  --help               this text\n"
    "Every status-bar text is printed as it changes, then a summary of the rows.\n"
    "Exit code: 0 when every picture was downloaded; 1 when some failed, none was\n"
    "found or the time ran out; 2 for bad options.\n";

bool WantsBatch(const std::vector<std::string_view>& arguments)
{
    return std::find(arguments.begin(), arguments.end(), "--batch") != arguments.end();
}

BatchCommand ParseBatchCommand(const std::vector<std::string_view>& arguments)
{
    struct Slot {
        std::string_view name;
        std::string* value;
        bool seen = false;
    };
    BatchCommand command;
    BatchOptions& options = command.options;
    std::string timeout;
    Slot slots[] = {{"--address", &options.address},
                    {"--from", &options.fromPage},
                    {"--to", &options.toPage},
                    {"--folder", &options.folder},
                    {"--picture-host", &options.pictureHost},
                    {"--timeout", &timeout},
                    {"--screenshot", &options.screenshot}};
    bool batch = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--help") {
            command.kind = BatchCommand::Kind::Help;
            return command;
        }
        if (argument == "--batch") {
            if (batch)
                return Fail("--batch is given twice");
            batch = true;
            continue;
        }
        std::string_view name = argument.substr(0, argument.find('='));
        auto slot = std::find_if(std::begin(slots), std::end(slots), [&](const Slot& s) { return s.name == name; });
        if (slot == std::end(slots))
            return Fail("unknown option " + std::string(argument));
        if (slot->seen)
            return Fail(std::string(name) + " is given twice");
        slot->seen = true;
        if (name.size() < argument.size()) {
            *slot->value = std::string(argument.substr(name.size() + 1));
        } else {
            if (i + 1 >= arguments.size())
                return Fail(std::string(name) + " needs a value");
            *slot->value = std::string(arguments[++i]);
        }
    }
    if (!batch)
        return Fail("--batch is missing");
    for (const Slot& slot : slots)
        if (&slot < &slots[4] && !slot.seen)
            return Fail(std::string(slot.name) + " is missing");
    if (!IsHttpAddress(options.address))
        return Fail("--address must be an http:// or https:// address: " + options.address);
    if (!IsPageNumber(options.fromPage))
        return Fail("--from must be a page number: " + options.fromPage);
    if (!IsPageNumber(options.toPage))
        return Fail("--to must be a page number: " + options.toPage);
    if (options.folder.empty())
        return Fail("--folder must name a folder");
    if (slots[4].seen && !IsHttpAddress(options.pictureHost))
        return Fail("--picture-host must be an http:// or https:// address: " + options.pictureHost);
    if (slots[5].seen) {
        auto [end, error] = std::from_chars(timeout.data(), timeout.data() + timeout.size(), options.timeoutSeconds);
        if (timeout.empty() || error != std::errc() || end != timeout.data() + timeout.size() ||
            options.timeoutSeconds <= 0 || options.timeoutSeconds > kMaxTimeoutSeconds)
            return Fail("--timeout must be a number of seconds from 1 to " + std::to_string(kMaxTimeoutSeconds) +
                        ": " + timeout);
    }
    if (slots[6].seen && options.screenshot.empty())
        return Fail("--screenshot must name a file");
    command.kind = BatchCommand::Kind::Run;
    return command;
}

}  // namespace vellumry::app
