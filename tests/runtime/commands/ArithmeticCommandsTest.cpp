#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "tests/runtime/commands/CommandTestSupport.h"
#include "tests/support/ReportExpectations.h"

namespace {

using namespace vellumry::test;

TypedValue Double(double value)
{
    return TypedValue::OfDouble(value);
}

TEST(ArithmeticCommands, RemainderFollowsTheDividendsSign)
{
    EXPECT_EQ(Call(CoreCommand::Remainder, {Double(7.5), Double(2)}).Double(), 1.5);
    EXPECT_EQ(Call(CoreCommand::Remainder, {Double(-7.5), Double(2)}).Double(), -1.5);
    EXPECT_EQ(Call(CoreCommand::Remainder, {Double(7), Double(-3)}).Double(), 1.0);
    EXPECT_EQ(Call(CoreCommand::Remainder, {Double(100), Double(30), Double(4)}).Double(), 2.0) << "in turn";
    EXPECT_EQ(Call(CoreCommand::Remainder, {Int(17), Int(5)}).Double(), 2.0) << "integers read as numbers";
    EXPECT_EQ(Call(CoreCommand::Remainder, {Double(17), Int(5)}).tag, vellumry::runtime::kDoubleType);
}

TEST(ArithmeticCommandsDeath, RemainderByZeroIsFatal)
{
    EXPECT_EXIT(Call(CoreCommand::Remainder, {Double(1), Double(0)}), ::testing::ExitedWithCode(kErrorExit),
                ReportsMessage("不能求余数于零"));
    EXPECT_EXIT(Call(CoreCommand::Remainder, {Double(1), Double(3), Double(-0.0)}),
                ::testing::ExitedWithCode(kErrorExit), ReportsMessage("不能求余数于零"));
}

TEST(ArithmeticCommands, BitsAndShifts)
{
    EXPECT_EQ(Call(CoreCommand::BitAnd, {Int(0x0F0F)}).Int(), 0x0F0F) << "one argument gives itself";
    EXPECT_EQ(Call(CoreCommand::BitAnd, {Int(0x0FF0), Int(0x00FF), Int(0x7FFF)}).Int(), 0x00F0);
    EXPECT_EQ(Call(CoreCommand::BitAnd, {Int(-1), Int(INT_MIN)}).Int(), INT_MIN);
    EXPECT_EQ(Call(CoreCommand::BitOr, {Int(1), Int(4), Int(0x100)}).Int(), 0x105);
    EXPECT_EQ(Call(CoreCommand::BitOr, {Int(INT_MIN), Int(1)}).Int(), INT_MIN + 1);

    EXPECT_EQ(Call(CoreCommand::ShiftLeft, {Int(1), Int(31)}).Int(), INT_MIN);
    EXPECT_EQ(Call(CoreCommand::ShiftLeft, {Int(3), Int(33)}).Int(), 6) << "count modulo 32";
    EXPECT_EQ(Call(CoreCommand::ShiftLeft, {Int(3), Int(-31)}).Int(), 6) << "-31 is 1 modulo 32";
    EXPECT_EQ(Call(CoreCommand::ShiftRight, {Int(-16), Int(2)}).Int(), -4) << "the sign bit is copied in";
    EXPECT_EQ(Call(CoreCommand::ShiftRight, {Int(INT_MIN), Int(31)}).Int(), -1);
    EXPECT_EQ(Call(CoreCommand::ShiftRight, {Int(256), Int(36)}).Int(), 16);
}

}  // namespace
