#include "env/skin.h"

#include "app/app.h"
#include "platform/host/host_form.h"
#include "skin_data.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> s) { return {s.begin(), s.end()}; }

class Skin : public ::testing::Test {
protected:
    void SetUp() override { skinFilePath.clear(); }
    void TearDown() override { skinFilePath.clear(); }
};

} // namespace

TEST_F(Skin, WritesTheChosenEntryThenAttachesTheEngineOnce) {
    struct Case {
        int number;
        int entry; // 0: nothing written, engine not called
        std::size_t size;
    };
    const Case cases[] = {{17, 17, 12278}, {0, 60, 11515}, {60, 60, 11515}, {1, 1, 8892}, {35, 2, 15562},
                          {48, 18, 33426}, {61, 0, 0},      {-1, 0, 0},     {INT32_MIN, 0, 0}};
    for (const Case& c : cases) {
        host::HostForm form;
        skinFilePath.clear();
        skinWindow(form, c.number);
        EXPECT_EQ(skinFilePath, "C:\\WINDOWS\\system32\\velmora.skn") << c.number;

        ASSERT_TRUE(form.files.contains("C:\\WINDOWS\\system32\\velmora.dll")) << c.number;
        EXPECT_EQ(form.files["C:\\WINDOWS\\system32\\velmora.dll"].bytes, bytesOf(skinData::engineImage()));
        EXPECT_EQ(form.files["C:\\WINDOWS\\system32\\velmora.dll"].bytes.size(), 88576u);

        const auto attaches = form.callsOf("SkinH_AttachEx");
        if (c.entry == 0) {
            EXPECT_FALSE(form.files.contains("C:\\WINDOWS\\system32\\velmora.skn")) << c.number;
            EXPECT_TRUE(form.calls.empty()) << c.number;
            continue;
        }
        const auto& written = form.files["C:\\WINDOWS\\system32\\velmora.skn"].bytes;
        EXPECT_EQ(written.size(), c.size) << c.number;
        EXPECT_EQ(written, bytesOf(skinData::skin(c.entry))) << c.number;
        ASSERT_EQ(attaches.size(), 1u) << c.number;
        EXPECT_EQ(form.calls.size(), 1u);
        EXPECT_EQ(attaches[0].library, "velmora.dll");
        EXPECT_EQ(attaches[0].texts[0], "C:\\WINDOWS\\system32\\velmora.skn");
        EXPECT_EQ(attaches[0].texts[1], ""); // a pointer to an empty text, not a null pointer
        // The skin file is complete before the engine is given its path.
        EXPECT_EQ(form.journal.back(), "tryCall velmora.dll!SkinH_AttachEx");
        EXPECT_EQ(form.journal.end()[-2],
                  "writeFile C:\\WINDOWS\\system32\\velmora.skn " + std::to_string(c.size) + " bytes");
    }
}

TEST_F(Skin, AnExistingEngineEntryIsLeftAlone) {
    const std::vector<host::FileEntry> existing = {{false, {'M', 'Z', 1, 2}}, {false, {}}, {true, {}}};
    for (const host::FileEntry& entry : existing) {
        host::HostForm form;
        form.files["C:\\WINDOWS\\system32\\velmora.dll"] = entry;
        form.setHandler("SkinH_AttachEx", [](const host::LibraryCall&) { return Word{1}; });
        skinWindow(form, 17);
        EXPECT_EQ(form.files["C:\\WINDOWS\\system32\\velmora.dll"].directory, entry.directory);
        EXPECT_EQ(form.files["C:\\WINDOWS\\system32\\velmora.dll"].bytes, entry.bytes);
        EXPECT_EQ(form.files["C:\\WINDOWS\\system32\\velmora.skn"].bytes, bytesOf(skinData::skin(17)));
        EXPECT_EQ(form.callsOf("SkinH_AttachEx").size(), 1u);
        for (const std::string& line : form.journal)
            EXPECT_NE(line.rfind("writeFile C:\\WINDOWS\\system32\\velmora.dll", 0), 0u) << line;
    }
}

TEST_F(Skin, FailedWritesStillReachTheEngine) {
    host::HostForm form;
    form.failingWrites = {"C:\\WINDOWS\\system32\\velmora.dll", "C:\\WINDOWS\\system32\\velmora.skn"};
    skinWindow(form, 17);
    EXPECT_TRUE(form.files.empty());
    EXPECT_EQ(form.callsOf("SkinH_AttachEx").size(), 1u);
    EXPECT_TRUE(form.messages.empty());
}

TEST_F(Skin, AnEngineThatCannotBeLoadedLeavesTheWindowUnskinned) {
    for (const char* function : {"", "SkinH_AttachEx"}) {
        host::HostForm form;
        form.makeUnresolvable("velmora.dll", function);
        EXPECT_NO_THROW(skinWindow(form, 17));
        EXPECT_EQ(form.journal.back(), "tryCall velmora.dll!SkinH_AttachEx unresolved");
        EXPECT_TRUE(form.messages.empty());
    }
}

TEST_F(Skin, ExitHookEmptiesTheSkinFilePath) {
    host::HostForm form;
    skinWindow(form, 17);
    ASSERT_FALSE(skinFilePath.empty());
    releaseGlobals();
    EXPECT_TRUE(skinFilePath.empty());
    EXPECT_EQ(form.traces, std::vector<std::string>{"exit-hook"});
}
