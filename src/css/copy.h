// The one copy action both pages use: the box's text to the clipboard first,
// then the confirmation, or the error when the clipboard could not be written.
#pragma once

#include "platform/form.h"

#include <string_view>

inline constexpr std::string_view copyConfirmationText = "复制成功,ctrl+v粘贴即可.";
inline constexpr std::string_view copyConfirmationCaption = "恭喜";
inline constexpr std::string_view copyFailedText = "复制失败：剪贴板正被其他程序占用，请稍后再试。";
inline constexpr std::string_view copyFailedCaption = "错误";

void copyBoxToClipboard(Form& form, std::string_view box);
