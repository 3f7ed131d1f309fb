// A Colour as CSS colour text.
#pragma once

#include "platform/form.h"

#include <string>

// "#" and two lower-case hexadecimal digits each for red, green and blue.
std::string cssColourText(Colour colour);
