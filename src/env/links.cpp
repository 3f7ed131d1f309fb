#include "env/links.h"

#include <string>

const char* const shopPageAddress = "http://tamsolen-studio.tmall.com";
const char* const contactPageAddress = "http://wpa.qq.com/msgrd?v=3&uin=2875310496&site=qq&menu=yes";
const char* const forumPageAddress = "http://www.tamsolen-shejibbs.com";
const char* const updatePageAddress = "http://pan.baidu.com/share/link?shareid=3791520846&uk=2718305947&third=15";

void openWebPage(Form& form, std::string_view address) {
    // The shell takes NUL-terminated texts; these live until the call returns.
    static constexpr char operation[] = "open";
    static constexpr char none[] = "";
    const std::string target(address);
    form.callLibrary("", "ShellExecuteA",
                     {0, reinterpret_cast<Word>(operation), reinterpret_cast<Word>(target.c_str()),
                      reinterpret_cast<Word>(none), reinterpret_cast<Word>(none), 1 /* show normally */});
}

void openShopPage(Form& form, std::string_view) { openWebPage(form, shopPageAddress); }
void openContactPage(Form& form, std::string_view) { openWebPage(form, contactPageAddress); }
void openForumPage(Form& form, std::string_view) { openWebPage(form, forumPageAddress); }
void openUpdatePage(Form& form, std::string_view) { openWebPage(form, updatePageAddress); }
