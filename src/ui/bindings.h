// Which handler runs for which event of which control. The runtime looks a
// (control, event) pair up here; every pair not listed is unbound.
#pragma once

#include "platform/form.h"

#include <span>
#include <string_view>

namespace bindings {

enum class Event { Created, Clicked, MouseMoved, LeftButtonDown };

// A handler gets the form and the name of the control whose event fired.
using Handler = void (*)(Form& form, std::string_view control);

struct Binding {
    const char* control;
    Event event;
    Handler handler;
};

std::span<const Binding> all();

// nullptr when the pair is unbound.
Handler find(std::string_view control, Event event);

} // namespace bindings
