#include "env/trimmer.h"

#include "platform/host/host_form.h"

#include <gtest/gtest.h>

TEST(Trimmer, IntervalRuleAndTheSetTimerCall) {
    struct Case {
        std::int32_t requested;
        std::uint32_t flag;
        Word interval;
    };
    const Case cases[] = {
        {0, 0, 3000},    {5000, 0, 3000},      {999, 1, 3000}, {1000, 1, 1000},
        {5000, 1, 5000}, {-5, 1, 3000},        {5000, 0x8000'0000u, 5000},
        {INT32_MIN, 1, 3000},
    };
    Word identifier = 0;
    for (const Case& c : cases) {
        host::HostForm form;
        form.setResult("SetTimer", 0x7E);
        EXPECT_EQ(startWorkingSetTrimmer(form, 0xABC, c.requested, c.flag), 0x7Eu);
        ASSERT_EQ(form.calls.size(), 1u);
        const host::LibraryCall& call = form.calls[0];
        EXPECT_EQ(call.library, "user32.dll");
        EXPECT_EQ(call.function, "SetTimer");
        ASSERT_EQ(call.args.size(), 4u);
        EXPECT_EQ(call.args[0], 0xABCu);
        EXPECT_NE(call.args[1], 0u);
        if (identifier) {
            EXPECT_EQ(call.args[1], identifier) << "the identifier is fixed";
        }
        identifier = call.args[1];
        EXPECT_EQ(call.args[2], c.interval) << c.requested << " flag " << c.flag;
        EXPECT_EQ(call.args[3], reinterpret_cast<Word>(&trimWorkingSet));
    }
}

TEST(Trimmer, FailedSetTimerIsReturnedAndNothingElseHappens) {
    host::HostForm form;
    form.setResult("SetTimer", 0);
    EXPECT_EQ(startWorkingSetTrimmer(form, 1, 0, 0), 0u);
    EXPECT_EQ(form.journal, std::vector<std::string>{"call user32.dll!SetTimer"});
    EXPECT_TRUE(form.messages.empty());
}

TEST(Trimmer, EveryTickTrimsOnceWithTheSameArguments) {
    host::HostForm form;
    startWorkingSetTrimmer(form, 1, 0, 0);
    // Windows calls the procedure it was handed; so does this test.
    auto procedure = reinterpret_cast<decltype(&trimWorkingSet)>(form.calls.at(0).args.at(3));
    form.calls.clear();
    form.journal.clear();
    for (unsigned long tick = 3000; tick <= 9000; tick += 3000) procedure(1, 0x113, 7, tick);

    const auto trims = form.callsOf("SetProcessWorkingSetSize");
    ASSERT_EQ(trims.size(), 3u);
    for (const host::LibraryCall& call : trims) {
        EXPECT_EQ(call.library, ""); // the runtime's default system libraries
        EXPECT_EQ(call.args, (std::vector<Word>{~Word{0}, ~Word{0}, ~Word{0}}));
    }
    EXPECT_EQ(form.calls.size(), 3u);
    EXPECT_EQ(form.traces, (std::vector<std::string>{"trim", "trim", "trim"}));
}
