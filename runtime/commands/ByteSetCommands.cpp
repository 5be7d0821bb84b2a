#include "runtime/commands/ByteSetCommands.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "runtime/RuntimeHeap.h"
#include "runtime/ValueHelpers.h"
#include "runtime/commands/CommandArguments.h"

namespace vellumry::runtime::commands {
namespace {

constexpr std::int64_t kByteSetHeader = 8;

}  // namespace

void ByteSetLength(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    ReturnInteger(result, static_cast<std::int32_t>(Arguments(count, arguments).Bytes(0).size()));
}

void LeftOfByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::span<const std::uint8_t> bytes = args.Bytes(0);
    auto length = std::clamp<std::int64_t>(args.Integer(1), 0, static_cast<std::int64_t>(bytes.size()));
    ReturnByteSet(result, MakeByteSet(bytes.first(static_cast<std::size_t>(length))));
}

void MidOfByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    Arguments args(count, arguments);
    std::span<const std::uint8_t> bytes = args.Bytes(0);
    auto size = static_cast<std::int64_t>(bytes.size());
    std::int64_t from = std::clamp<std::int64_t>(static_cast<std::int64_t>(args.Integer(1)) - 1, 0, size);
    std::int64_t length = std::clamp<std::int64_t>(args.Integer(2), 0, size - from);
    ReturnByteSet(result, MakeByteSet(bytes.subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(length))));
}

void BlankByteSet(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    std::int64_t length = Arguments(count, arguments).Integer(0);
    if (length <= 0) {
        ReturnByteSet(result, nullptr);
        return;
    }
    if (length + kByteSetHeader > INT32_MAX)
        ReportAllocationFailure(length + kByteSetHeader);
    auto* block = static_cast<std::uint8_t*>(RuntimeAlloc(static_cast<std::int32_t>(length + kByteSetHeader)));
    StoreWord(block, 1);
    StoreWord(block + 4, static_cast<std::int32_t>(length));
    std::memset(block + kByteSetHeader, 0, static_cast<std::size_t>(length));
    ReturnByteSet(result, block);
}

}  // namespace vellumry::runtime::commands
