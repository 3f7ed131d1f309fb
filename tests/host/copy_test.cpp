#include "css/copy.h"

#include "platform/host/host_form.h"
#include "ui/bindings.h"

#include <gtest/gtest.h>

namespace {

struct CopyButton {
    const char* button;
    const char* box;
};
constexpr CopyButton copyButtons[] = {{"按钮2", "编辑框1"}, {"按钮6", "编辑框7"}};

void click(host::HostForm& form, const char* button) {
    bindings::find(button, bindings::Event::Clicked)(form, button);
}

const host::Message confirmation{std::string(copyConfirmationText), std::string(copyConfirmationCaption)};
const host::Message failure{std::string(copyFailedText), std::string(copyFailedCaption)};

} // namespace

TEST(Copy, TextIsOnTheClipboardBeforeTheConfirmationShows) {
    for (const CopyButton& b : copyButtons) {
        for (const char* text : {".a{b:#000000;}\r\n编辑过的\r\n", ""}) {
            host::HostForm form;
            form.setBoxText(b.box, text);
            std::optional<std::string> clipboardWhileShown;
            form.whileMessageShown = [&](const host::Message&) { clipboardWhileShown = form.clipboard; };
            click(form, b.button);
            EXPECT_EQ(clipboardWhileShown, text) << b.button;
            EXPECT_EQ(form.clipboard, text) << b.button;
            EXPECT_EQ(form.messages, std::vector<host::Message>{confirmation}) << b.button;
            EXPECT_EQ(form.boxText(b.box), text) << b.button;
        }
    }
    EXPECT_EQ(confirmation.text, "复制成功,ctrl+v粘贴即可.");
    EXPECT_EQ(confirmation.caption, "恭喜");
}

TEST(Copy, RefusedClipboardShowsTheErrorAndClaimsNothing) {
    for (const CopyButton& b : copyButtons) {
        host::HostForm form;
        form.setBoxText(b.box, "body{}");
        form.clipboard = "held by another program";
        form.clipboardRefuses = true;
        click(form, b.button);
        EXPECT_EQ(form.clipboard, "held by another program") << b.button;
        EXPECT_EQ(form.messages, std::vector<host::Message>{failure}) << b.button;
        EXPECT_EQ(form.boxText(b.box), "body{}") << b.button;
    }
    EXPECT_EQ(failure.text, "复制失败：剪贴板正被其他程序占用，请稍后再试。");
    EXPECT_EQ(failure.caption, "错误");
}

TEST(Copy, ReadsTheBoxOnceAndWritesNoControl) {
    host::HostForm form;
    copyBoxToClipboard(form, "编辑框7");
    EXPECT_EQ(form.journal, (std::vector<std::string>{"text 编辑框7", "putOnClipboard",
                                                       "showMessage 恭喜: 复制成功,ctrl+v粘贴即可."}));
}
