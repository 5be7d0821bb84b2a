#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;

struct ProbeRun {
    int exitCode = -1;
    std::vector<std::string> lines;
};

// Runs the probe program with a scenario and collects what it printed.
ProbeRun RunProbe(const std::string& scenario)
{
    ProbeRun run;
    std::string command = std::string(STARTUP_PROBE) + " " + scenario + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        run.lines.push_back(text);
    }
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::vector<std::string> kStartUp = {
    "component model up",
    "library notify 1",
    "library notify 1",
    "template installed",
    "initialised: hidden owner yes, dll commands 1",
    "window event 0",
};

const std::vector<std::string> kShutdown = {
    "forms released",
    "exit routine 0",
    "library notify 6",
    "library notify 6",
    "music stopped and waited, static block cleared, dll commands 0, hidden owner gone",
    "component model down",
};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(StartupAndShutdown, RunInOrderWhenTheWindowCloses)
{
    ProbeRun run = RunProbe("close-later");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, Concat({kStartUp, {"start form loaded", "loop returned"}, kShutdown,
                                 {"process ends with 0"}}));
}

TEST(StartupAndShutdown, AStartFormThatClosesAtOnceReturnsFromTheLoopAtOnce)
{
    ProbeRun run = RunProbe("close-at-once");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, Concat({kStartUp, {"start form loaded", "loop returned"}, kShutdown,
                                 {"process ends with 0"}}));
}

TEST(StartupAndShutdown, EndProgramFromAWorkerEndsWithItsCodeAfterTheShutdown)
{
    ProbeRun run = RunProbe("worker-end");
    EXPECT_EQ(run.exitCode, 5);
    // The main thread did the shutdown; the loop never returned.
    EXPECT_EQ(run.lines, Concat({kStartUp, {"start form loaded"}, kShutdown}));
}

TEST(StartupAndShutdown, ClosingWhileWorkersCallIntoTheWindowStopsThemBeforeTheExitRoutines)
{
    ProbeRun run = RunProbe("close-with-workers");
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> shutdown = kShutdown;
    shutdown.insert(shutdown.begin() + 2, "live workers 0");
    EXPECT_EQ(run.lines, Concat({kStartUp, {"start form loaded", "loop returned"}, shutdown,
                                 {"process ends with 0"}}));
}

TEST(StartupAndShutdown, AWorkerThatCannotBeUnwoundIsLeftToTheEndOfTheProcess)
{
    ProbeRun run = RunProbe("close-with-stuck-worker");
    EXPECT_EQ(run.exitCode, 0);
    // The DLL command table stays while a worker may be inside it, and no
    // static destructor runs under the worker: the process ends at once.
    EXPECT_EQ(run.lines, Concat({kStartUp,
                                 {"start form loaded", "loop returned", "forms released", "exit routine 0",
                                  "live workers 1", "library notify 6", "library notify 6",
                                  "music stopped and waited, static block cleared, dll commands 1, hidden owner gone",
                                  "component model down"}}));
}

TEST(StartupAndShutdown, AfterARuntimeErrorTheExitRoutineDoesNotRun)
{
    ProbeRun run = RunProbe("error");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_THAT(run.lines, ::testing::Contains("forms released"));
    EXPECT_THAT(run.lines, ::testing::Not(::testing::Contains("exit routine 0")));
    EXPECT_THAT(run.lines, ::testing::Not(::testing::Contains("loop returned")));
}

}  // namespace
