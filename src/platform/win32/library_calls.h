// Calls into dynamic libraries by (library, function) name.
#pragma once

#include "platform/form.h"

#include <initializer_list>
#include <optional>
#include <string_view>

namespace win32 {

// Resolves the function at its first call and keeps it. System libraries (the
// default list, and any library named like one of them) are loaded from the
// system directory only; any other bare name is tried in the program's own
// directory first, then by the standard search. When the call cannot be
// resolved: the fatal error if `fatal`, otherwise no result.
std::optional<Word> libraryCall(std::string_view library, std::string_view function,
                                std::initializer_list<Word> args, bool fatal);

} // namespace win32
