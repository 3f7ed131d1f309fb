#include "env/links.h"

#include "platform/host/host_form.h"
#include "ui/bindings.h"

#include <gtest/gtest.h>

#include <regex>

TEST(Links, EachBoundControlOpensItsAddressThroughTheShell) {
    using bindings::Event;
    struct Case {
        const char* control;
        Event event;
        const char* address;
    };
    const Case cases[] = {
        {"按钮3", Event::Clicked, shopPageAddress},          {"图片框4", Event::LeftButtonDown, shopPageAddress},
        {"按钮4", Event::Clicked, contactPageAddress},       {"透明标签36", Event::LeftButtonDown, contactPageAddress},
        {"图片框5", Event::LeftButtonDown, forumPageAddress}, {"透明标签29", Event::LeftButtonDown, updatePageAddress},
    };
    for (const Case& c : cases) {
        host::HostForm form;
        bindings::Handler handler = bindings::find(c.control, c.event);
        ASSERT_NE(handler, nullptr) << c.control;
        handler(form, c.control);
        ASSERT_EQ(form.calls.size(), 1u) << c.control;
        const host::LibraryCall& call = form.calls[0];
        EXPECT_EQ(call.library, "") << c.control; // the runtime's default system libraries
        EXPECT_EQ(call.function, "ShellExecuteA");
        ASSERT_EQ(call.args.size(), 6u);
        EXPECT_EQ(call.args[0], 0u);
        EXPECT_EQ(call.texts[1], "open");
        EXPECT_EQ(call.texts[2], c.address) << c.control;
        EXPECT_EQ(call.texts[3], "");
        EXPECT_EQ(call.texts[4], "");
        EXPECT_EQ(call.args[5], 1u);
        EXPECT_EQ(form.journal, std::vector<std::string>{"call !ShellExecuteA"}) << c.control;
    }
}

TEST(Links, AddressesHaveTheirFixedForm) {
    EXPECT_TRUE(std::regex_match(shopPageAddress, std::regex(R"(http://[a-z0-9.-]+\.tmall\.com)"))) << shopPageAddress;
    EXPECT_TRUE(std::regex_match(forumPageAddress, std::regex(R"(http://[a-z0-9.-]+\.[a-z]+)"))) << forumPageAddress;
    EXPECT_TRUE(std::regex_match(contactPageAddress,
                                 std::regex(R"(http://wpa\.qq\.com/msgrd\?v=3&uin=[1-9][0-9]{4,}&site=qq&menu=yes)")))
        << contactPageAddress;
    EXPECT_TRUE(std::regex_match(updatePageAddress,
                                 std::regex(R"(http://pan\.baidu\.com/share/link\?shareid=[0-9]+&uk=[0-9]+&third=15)")))
        << updatePageAddress;
}
