#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "runtime/CommandCall.h"
#include "runtime/HeapOwner.h"
#include "runtime/RuntimeHeap.h"
#include "runtime/RuntimeInterface.h"
#include "runtime/RuntimeService.h"
#include "runtime/ValueHelpers.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::runtime;

struct Observation {
    std::int32_t count = -1;
    TypedValue resultOnEntry;
    std::vector<TypedValue> arguments;
};
Observation g_seen;

void Observe(TypedValue* result, std::int32_t count, const TypedValue* arguments)
{
    g_seen.count = count;
    g_seen.resultOnEntry = *result;
    g_seen.arguments.assign(arguments, arguments + count);
}

void LeaveResultAlone(TypedValue* result, std::int32_t, const TypedValue*)
{
    g_seen.resultOnEntry = *result;
}

void ReturnPi(TypedValue* result, std::int32_t, const TypedValue*)
{
    *result = TypedValue::OfDouble(3.25);
}

// Stores a new text into a by-reference text variable, freeing the old one.
void StoreGreeting(TypedValue*, std::int32_t, const TypedValue* arguments)
{
    auto** variable = arguments[0].Pointer<char*>();
    RuntimeFree(*variable);
    *variable = MakeText("hello");
}

TEST(CommandCallDeath, AnEmptySlotIsARuntimeErrorNotACrash)
{
    for (auto call : {&CallCoreCommand, &CallLibraryCommand}) {
        TypedValue args[] = {TypedValue::OfInt(7)};
        EXPECT_EXIT(call(nullptr, 1, args), ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                    vellumry::test::ReportsMessage("所调用的支持库命令不存在"));
    }
    // Through the interface table, as the application calls.
    EXPECT_EXIT(GetRuntimeInterface().callCoreCommand(nullptr, 0, nullptr),
                ::testing::ExitedWithCode(vellumry::test::kErrorExit),
                vellumry::test::ReportsMessage("所调用的支持库命令不存在"));
}

TEST(CommandCall, ArgumentsArriveInOrderAndTheResultStartsZeroed)
{
    for (auto call : {&CallCoreCommand, &CallLibraryCommand}) {
        TypedValue args[] = {TypedValue::OfInt(7), TypedValue::OfUnit(kListViewType, 0x52010001, 0x16010014),
                             TypedValue::OfDouble(0.5)};
        TypedValue result = call(Observe, 3, args);
        EXPECT_EQ(g_seen.count, 3);
        EXPECT_EQ(g_seen.resultOnEntry.Payload(), 0u);
        EXPECT_EQ(g_seen.resultOnEntry.tag, kNoType);
        ASSERT_EQ(g_seen.arguments.size(), 3u);
        EXPECT_EQ(g_seen.arguments[0].Int(), 7);
        EXPECT_EQ(g_seen.arguments[1].low, 0x52010001u);
        EXPECT_EQ(g_seen.arguments[1].high, 0x16010014u);
        EXPECT_EQ(g_seen.arguments[1].tag, kListViewType);
        EXPECT_EQ(g_seen.arguments[2].Double(), 0.5);
        EXPECT_EQ(result.tag, kNoType);  // Observe returns nothing
    }
}

TEST(CommandCall, NoArgumentsMeansCountZeroAndAZeroResult)
{
    TypedValue result = CallCoreCommand(LeaveResultAlone, 0, nullptr);
    EXPECT_EQ(result.Payload(), 0u);
    EXPECT_EQ(result.tag, 0u);
    TypedValue pi = CallCommand(ReturnPi, {});
    EXPECT_EQ(pi.tag, kDoubleType);
    EXPECT_EQ(pi.Double(), 3.25);
}

TEST(CommandCall, ByReferenceTextArgumentReceivesAnOwnedText)
{
    char* variable = MakeText("old");
    TypedValue argument = TypedValue::OfPointer(ByReference(kTextType), &variable);
    EXPECT_EQ(argument.tag, 0xA0000004u);
    EXPECT_TRUE(IsByReference(argument.tag));
    EXPECT_EQ(WithoutReference(argument.tag), kTextType);
    CallCommand(StoreGreeting, {argument});
    OwnedText owned(variable);
    EXPECT_STREQ(owned.get(), "hello");
}

TEST(DataTypeTags, ClassesAndReferenceFlag)
{
    EXPECT_EQ(ClassOf(0), TagClass::None);
    EXPECT_EQ(ClassOf(kTextType), TagClass::System);
    EXPECT_EQ(ClassOf(0x40000001), TagClass::UserDefined);
    EXPECT_EQ(ClassOf(kListViewType), TagClass::Library);
    EXPECT_EQ(LibraryNumberOf(kListViewType), 2);
    EXPECT_EQ(TypeNumberOf(kListViewType), 4);
    EXPECT_EQ(ByReference(kVariantType), 0x20010031u);
    EXPECT_TRUE(IsByReference(0x20010031));
    EXPECT_EQ(ClassOf(0x20010031), TagClass::Library);
    EXPECT_FALSE(IsByReference(kTextType));
}

TEST(TypedValues, PayloadFormsFollowTheTags)
{
    EXPECT_EQ(TypedValue::OfByte(200).Payload(), 200u);
    EXPECT_EQ(TypedValue::OfShort(-2).low, 0xFFFEu);  // low half only
    EXPECT_EQ(TypedValue::OfShort(-2).Short(), -2);
    TypedValue big = TypedValue::OfLong(0x0123456789ABCDEFLL);
    EXPECT_EQ(big.low, 0x89ABCDEFu);  // low word first
    EXPECT_EQ(big.high, 0x01234567u);
    EXPECT_EQ(TypedValue::OfFloat(1.5f).Float(), 1.5f);
    EXPECT_EQ(TypedValue::OfBool(true).low, 1u);
    int x = 0;
    EXPECT_EQ(TypedValue::OfPointer(kTextType, &x).Pointer<int>(), &x);
}

TEST(RuntimeInterfaceTable, EntriesSitAtTheirFixedPositions)
{
    // The application binds to positions: one pointer per entry, in order.
    EXPECT_EQ(offsetof(RuntimeInterface, reportErrorCode), 0 * sizeof(void*));
    EXPECT_EQ(offsetof(RuntimeInterface, callDllCommand), 1 * sizeof(void*));
    EXPECT_EQ(offsetof(RuntimeInterface, callCoreCommand), 3 * sizeof(void*));
    EXPECT_EQ(offsetof(RuntimeInterface, runtimeAlloc), 6 * sizeof(void*));
    EXPECT_EQ(offsetof(RuntimeInterface, endProgram), 9 * sizeof(void*));
    EXPECT_EQ(offsetof(RuntimeInterface, runtimeService), 12 * sizeof(void*));
    EXPECT_EQ(sizeof(RuntimeInterface), 13 * sizeof(void*));

    const RuntimeInterface& api = GetRuntimeInterface();
    void* block = api.runtimeAlloc(8);
    block = api.runtimeRealloc(block, 64);
    api.runtimeFree(block);
    TypedValue args[] = {TypedValue::OfInt(1)};
    api.callCoreCommand(Observe, 1, args);
    EXPECT_EQ(g_seen.count, 1);
}

}  // namespace
