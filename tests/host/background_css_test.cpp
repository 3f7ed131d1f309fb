#include "css/background_css.h"

#include "platform/host/host_form.h"
#include "ui/bindings.h"

#include <gtest/gtest.h>

TEST(BackgroundCss, AddressGoesInVerbatimWithNoLineEnd) {
    const std::string empty =
        "body{background-image:url();background-repeat:no-repeat;background-position:center;"
        "background-attachment:fixed;}";
    ASSERT_EQ(empty.size(), 112u);
    EXPECT_EQ(backgroundCss(""), empty);

    struct Case {
        const char* address;
        const char* expected;
    };
    const Case cases[] = {
        {"http://img.example/a b \"c\" 'd' (e).jpg",
         "body{background-image:url(http://img.example/a b \"c\" 'd' (e).jpg);background-repeat:no-repeat;"
         "background-position:center;background-attachment:fixed;}"},
        {"http://图片.店铺/背景 1920.jpg",
         "body{background-image:url(http://图片.店铺/背景 1920.jpg);background-repeat:no-repeat;"
         "background-position:center;background-attachment:fixed;}"},
        {" \r\n", "body{background-image:url( \r\n);background-repeat:no-repeat;background-position:center;"
                  "background-attachment:fixed;}"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(backgroundCss(c.address), c.expected);
        EXPECT_EQ(backgroundCss(c.address).size(), 112 + std::string_view(c.address).size());
    }
}

TEST(BackgroundCss, GenerateReplacesTheOutputBox) {
    host::HostForm form;
    auto generate = bindings::find("按钮5", bindings::Event::Clicked);
    form.setBoxText("编辑框6", "http://x/y.jpg");
    form.setBoxText("编辑框7", "typed before");
    generate(form, "按钮5");
    generate(form, "按钮5");
    EXPECT_EQ(form.boxText("编辑框7"), backgroundCss("http://x/y.jpg"));
    EXPECT_EQ(form.boxText("编辑框6"), "http://x/y.jpg");
    EXPECT_EQ(form.journal,
              (std::vector<std::string>{"text 编辑框6", "setText 编辑框7", "text 编辑框6", "setText 编辑框7"}));
}
