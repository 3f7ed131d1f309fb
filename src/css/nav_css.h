// The navigation CSS: twenty-five rules in a fixed order, built from NavStyle.
#pragma once

#include "css/nav_style.h"
#include "platform/form.h"

#include <span>
#include <string>
#include <string_view>

struct NavRule {
    const char* before;
    NavSlot slot;
    const char* after;
};

// The line table, in output order.
std::span<const NavRule> navigationRules();

// The whole text from the current slot values: every line ends with CR LF.
std::string buildNavigationCss(Form& form);

// Handlers of "按钮1" and "按钮2".
void generateNavigationCss(Form& form, std::string_view control);
void copyNavigationCss(Form& form, std::string_view control);

// One step of the step-by-step form: reads "编辑框1", joins it, the three parts
// and CR LF, and writes the result back as the box's whole text.
void appendRule(Form& form, std::string_view before, std::string_view value, std::string_view after);
