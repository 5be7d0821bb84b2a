#pragma once

// Tables of test cases (TEST_P) whose rows carry a `label`: gtest prints a
// row by its label and names each instantiated case after it. A test file
// brings PrintTo into the namespace of its rows with
//   using vellumry::test::PrintTo;
// and passes RowLabel() as the name generator of INSTANTIATE_TEST_SUITE_P.

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

namespace vellumry::test {

template <typename Row>
concept LabelledRow = requires(const Row& row) {
    { row.label } -> std::convertible_to<const char*>;
};

struct RowLabel {
    template <LabelledRow Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.label;
    }
};

template <LabelledRow Row>
void PrintTo(const Row& row, std::ostream* out)
{
    *out << row.label;
}

}  // namespace vellumry::test
