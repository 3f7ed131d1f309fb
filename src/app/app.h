// The program's entry, its created handler and its exit hook.
#pragma once

#include "platform/form.h"

#include <string_view>

int startProgram();
void startWindowServices(Form& form, std::string_view control);
void releaseGlobals();
