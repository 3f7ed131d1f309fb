#include "platform/host/host_runtime.h"

#include "ui/bindings.h"
#include "ui/layout.h"

namespace host {

namespace {
HostRuntime* current = nullptr;

HostRuntime& running() {
    if (!current) throw PortMisuse("a runtime service was called with no HostRuntime in place");
    return *current;
}
} // namespace

HostRuntime::HostRuntime(HostForm& f) : form(f) {
    current = this;
    setActiveForm(&form);
}

HostRuntime::~HostRuntime() {
    if (current == this) current = nullptr;
}

int HostRuntime::run(int (*startRoutine)()) {
    int code;
    try {
        code = startRoutine();
    } catch (const UnresolvedCall& e) {
        form.note(std::string("fatal ") + e.what());
        return -1;
    }
    form.note("exit hook");
    if (exitHook) exitHook();
    return code;
}

} // namespace host

namespace runtime {

void registerExitHook(ExitHook hook) {
    host::HostRuntime& r = host::running();
    r.form.note("registerExitHook");
    r.exitHook = hook;
}

void loadMainWindow() {
    host::HostRuntime& r = host::running();
    // Built hidden; the created event runs to completion before the first showing.
    r.form.note("created");
    if (bindings::Handler created = bindings::find(layout::mainWindowName, bindings::Event::Created))
        created(r.form, layout::mainWindowName);
    r.form.note("shown");
}

int runMessageLoop() {
    host::HostRuntime& r = host::running();
    r.form.note("messageLoop");
    if (r.whileLooping) r.whileLooping();
    r.form.note("window destroyed");
    return 0;
}

} // namespace runtime
