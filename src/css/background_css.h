// The fixed-background rule of the second page.
#pragma once

#include "platform/form.h"

#include <string>
#include <string_view>

std::string backgroundCss(std::string_view pictureAddress);

// Handlers of "按钮5" and "按钮6".
void generateBackgroundCss(Form& form, std::string_view control);
void copyBackgroundCss(Form& form, std::string_view control);
