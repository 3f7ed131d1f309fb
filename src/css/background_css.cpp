#include "css/background_css.h"

#include "css/copy.h"

namespace {
constexpr std::string_view addressBox = "编辑框6";
constexpr std::string_view outputBox = "编辑框7";
constexpr std::string_view ruleStart = "body{background-image:url(";
constexpr std::string_view ruleEnd =
    ");background-repeat:no-repeat;background-position:center;background-attachment:fixed;}";
} // namespace

std::string backgroundCss(std::string_view pictureAddress) {
    // The address goes in as typed: no trimming, quoting or escaping.
    std::string css;
    css.reserve(ruleStart.size() + pictureAddress.size() + ruleEnd.size());
    css += ruleStart;
    css += pictureAddress;
    css += ruleEnd;
    return css;
}

void generateBackgroundCss(Form& form, std::string_view) {
    form.setText(outputBox, backgroundCss(form.text(addressBox)));
}

void copyBackgroundCss(Form& form, std::string_view) { copyBoxToClipboard(form, outputBox); }
