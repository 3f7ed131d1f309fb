#include "platform/form.h"

namespace {
Form* current = nullptr;
}

Form* activeForm() { return current; }
void setActiveForm(Form* form) { current = form; }
