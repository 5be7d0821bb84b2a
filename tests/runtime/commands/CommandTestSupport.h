#pragma once

// Calling core commands the way the application does: through their slots in
// the core library's table and CallCoreCommand, with typed arguments. Result
// readers take ownership and check the result's tag.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "runtime/CommandCall.h"
#include "runtime/CoreCommandSlots.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/TypedValue.h"
#include "runtime/ValueHelpers.h"

namespace vellumry::test {

using runtime::CoreCommand;
using runtime::TypedValue;

inline TypedValue Call(CoreCommand command, std::initializer_list<TypedValue> arguments)
{
    runtime::InstallRuntimeCoreCommands();
    return runtime::CallCoreCommand(runtime::CoreCommandSlot(command), static_cast<std::int32_t>(arguments.size()),
                                    arguments.begin());
}

inline TypedValue CallWith(CoreCommand command, const std::vector<TypedValue>& arguments)
{
    runtime::InstallRuntimeCoreCommands();
    return runtime::CallCoreCommand(runtime::CoreCommandSlot(command), static_cast<std::int32_t>(arguments.size()),
                                    arguments.data());
}

// The caller's string must outlive the call.
inline TypedValue Text(const std::string& text)
{
    return TypedValue::OfPointer(runtime::kTextType, text.c_str());
}

inline TypedValue Int(std::int32_t value)
{
    return TypedValue::OfInt(value);
}

inline TypedValue Omitted()
{
    return TypedValue();
}

// A byte-set in the runtime heap, freed with the object.
class HeapBytes {
public:
    explicit HeapBytes(const std::string& bytes)
        : m_block(runtime::MakeByteSet({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}))
    {
    }
    ~HeapBytes() { runtime::RuntimeFree(m_block); }
    HeapBytes(const HeapBytes&) = delete;
    HeapBytes& operator=(const HeapBytes&) = delete;
    TypedValue Value() const { return TypedValue::OfPointer(runtime::kByteSetType, m_block); }

private:
    runtime::ByteSet m_block;
};

// The text of a text result, none for the null (empty) text.
inline std::optional<std::string> TakeText(const TypedValue& result)
{
    EXPECT_EQ(result.tag, runtime::kTextType);
    char* text = result.Pointer<char>();
    if (!text)
        return std::nullopt;
    std::string copy(text);
    EXPECT_FALSE(copy.empty()) << "an empty text result must be null";
    runtime::RuntimeFree(text);
    return copy;
}

inline std::optional<std::string> TakeByteSet(const TypedValue& result)
{
    EXPECT_EQ(result.tag, runtime::kByteSetType);
    auto* block = result.Pointer<std::uint8_t>();
    if (!block)
        return std::nullopt;
    auto bytes = runtime::ByteSetBytes(block);
    std::string copy(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_FALSE(copy.empty()) << "an empty byte-set result must be null";
    EXPECT_EQ(runtime::LoadWord(block), 1) << "a byte-set has one dimension";
    runtime::RuntimeFree(block);
    return copy;
}

// The elements of a text array result (null elements read as "").
inline std::vector<std::string> TakeTextArray(const TypedValue& result)
{
    EXPECT_EQ(result.tag, runtime::kTextType);
    void* array = result.Pointer<void>();
    EXPECT_NE(array, nullptr) << "an array with no elements is still an array";
    std::vector<std::string> elements;
    runtime::ArrayElementsView view = runtime::ArrayElements(array);
    for (std::int32_t i = 0; i < view.count; ++i) {
        auto* text = runtime::LoadElement<char*>(static_cast<std::uint8_t*>(view.first) + i * sizeof(void*));
        EXPECT_TRUE(text == nullptr || *text != '\0') << "an empty element must be null";
        elements.emplace_back(text ? text : "");
    }
    runtime::FreePointerArray(array);
    return elements;
}

}  // namespace vellumry::test
