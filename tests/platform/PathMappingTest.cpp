#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/LastError.h"
#include "platform/kernel/ModuleFileName.h"
#include "platform/kernel/PathMapping.h"

namespace {

using namespace vellumry::kernel;

TEST(PathMapping, SeparatorsAndDrivePrefix)
{
    EXPECT_EQ(ToHostPath("\\tmp\\a\\b.txt"), "/tmp/a/b.txt");
    EXPECT_EQ(ToHostPath("C:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(ToHostPath("rel\\x"), "rel/x");
    EXPECT_EQ(ToRuntimePath("/tmp/a/b"), "\\tmp\\a\\b");
}

TEST(PathMapping, GbkNamesBecomeUtf8AndBack)
{
    // "用户配置.ini" in GBK; its second character's bytes must not be split.
    std::string gbk = "\\d\\\xD3\xC3\xBB\xA7\xC5\xE4\xD6\xC3.ini";
    EXPECT_EQ(ToHostPath(gbk), "/d/用户配置.ini");
    EXPECT_EQ(ToRuntimePath("/d/用户配置.ini"), gbk);
    // A trail byte of 0x5C is part of a character, not a separator.
    EXPECT_EQ(ToRuntimePath(ToHostPath("\\x\\\x81\x5C")), "\\x\\\x81\x5C");
}

TEST(ModuleFileName, AnswersTheExecutableInRuntimeForm)
{
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(n, std::strlen(buffer));
    EXPECT_EQ(ToHostPath(buffer), HostProgramPath());
    EXPECT_EQ(std::string(buffer).find('/'), std::string::npos);

    char tiny[4];
    EXPECT_EQ(GetModuleFileNameA(nullptr, tiny, sizeof tiny), 4u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(tiny[3], '\0');
}

}  // namespace
