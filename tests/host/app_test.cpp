#include "app/app.h"

#include "env/skin.h"
#include "env/trimmer.h"
#include "platform/host/host_runtime.h"

#include <gtest/gtest.h>

namespace {

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        skinFilePath.clear();
        form.setResult("SetTimer", 0x7E);
        form.setResult("SkinH_AttachEx", 1);
    }
    void TearDown() override { skinFilePath.clear(); }

    host::HostForm form;
    host::HostRuntime runtime{form};
};

const std::vector<std::string> firstStart = {
    "registerExitHook",
    "created",
    "mainWindowHandle",
    "call user32.dll!SetTimer",
    "fileExists C:\\WINDOWS\\system32\\velmora.dll",
    "writeFile C:\\WINDOWS\\system32\\velmora.dll 88576 bytes",
    "writeFile C:\\WINDOWS\\system32\\velmora.skn 12278 bytes",
    "tryCall velmora.dll!SkinH_AttachEx",
    "shown",
    "messageLoop",
    "window destroyed",
    "exit hook",
    "trace exit-hook",
};

} // namespace

TEST_F(StartUp, TimerThenSkinBeforeTheWindowShowsThenTheExitHookOnce) {
    EXPECT_EQ(runtime.run(startProgram), 0);
    EXPECT_EQ(form.journal, firstStart);

    const auto timers = form.callsOf("SetTimer");
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].args[0], form.window);
    EXPECT_EQ(timers[0].args[2], 3000u);
    EXPECT_EQ(form.callsOf("SkinH_AttachEx").at(0).texts[0], "C:\\WINDOWS\\system32\\velmora.skn");
    EXPECT_TRUE(skinFilePath.empty()) << "released by the exit hook";
}

TEST_F(StartUp, SecondStartRewritesOnlyTheSkinFile) {
    runtime.run(startProgram);
    form.journal.clear();
    runtime.run(startProgram);
    std::vector<std::string> expected = firstStart;
    std::erase(expected, "writeFile C:\\WINDOWS\\system32\\velmora.dll 88576 bytes");
    EXPECT_EQ(form.journal, expected);
}

TEST_F(StartUp, FailingTimerStillSkinsTheWindow) {
    form.setResult("SetTimer", 0);
    EXPECT_EQ(runtime.run(startProgram), 0);
    EXPECT_EQ(form.journal, firstStart);
    EXPECT_TRUE(form.messages.empty());
}

TEST_F(StartUp, UnloadableEngineLeavesStartUpGoing) {
    form.files["C:\\WINDOWS\\system32\\velmora.dll"] = {true, {}}; // a directory of that name
    form.makeUnresolvable("velmora.dll");
    EXPECT_EQ(runtime.run(startProgram), 0);
    const std::vector<std::string> expected = {
        "registerExitHook",
        "created",
        "mainWindowHandle",
        "call user32.dll!SetTimer",
        "fileExists C:\\WINDOWS\\system32\\velmora.dll",
        "writeFile C:\\WINDOWS\\system32\\velmora.skn 12278 bytes",
        "tryCall velmora.dll!SkinH_AttachEx unresolved",
        "shown",
        "messageLoop",
        "window destroyed",
        "exit hook",
        "trace exit-hook",
    };
    EXPECT_EQ(form.journal, expected);
    EXPECT_TRUE(form.messages.empty());
}

TEST_F(StartUp, TimerTicksDuringTheLoopTrim) {
    runtime.whileLooping = [&] {
        auto procedure = reinterpret_cast<decltype(&trimWorkingSet)>(form.callsOf("SetTimer").at(0).args.at(3));
        procedure(form.window, 0x113, 0, 3000);
        procedure(form.window, 0x113, 0, 6000);
    };
    runtime.run(startProgram);
    EXPECT_EQ(form.callsOf("SetProcessWorkingSetSize").size(), 2u);
    EXPECT_EQ(form.traces, (std::vector<std::string>{"trim", "trim", "exit-hook"}));
}

TEST_F(StartUp, AnotherUnresolvableCallIsStillFatalWithoutTheExitHook) {
    form.makeUnresolvable("user32.dll", "SetTimer");
    EXPECT_EQ(runtime.run(startProgram), -1);
    EXPECT_EQ(form.journal.back(), "fatal user32.dll!SetTimer");
    EXPECT_TRUE(form.traces.empty());
}
