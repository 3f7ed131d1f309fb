// The runtime's start-up services over one HostForm, for tests of the start
// routine. Its steps go into the form's journal next to the handlers' own
// port operations, so a test reads the whole start-up order as one log.
#pragma once

#include "platform/host/host_form.h"
#include "platform/runtime.h"

#include <functional>

namespace host {

class HostRuntime {
public:
    // Only one at a time: the runtime:: functions reach the latest one made.
    explicit HostRuntime(HostForm& form);
    ~HostRuntime();
    HostRuntime(const HostRuntime&) = delete;
    HostRuntime& operator=(const HostRuntime&) = delete;

    // What the real runtime does around the program: calls the start routine
    // once, then the exit hook once, and gives the process's exit code. A call
    // that cannot be resolved ends it with -1 and no exit hook, as the
    // runtime's fatal-error box does.
    int run(int (*startRoutine)());

    // Runs inside the message loop, standing in for the user's session (for
    // example, timer ticks).
    std::function<void()> whileLooping;

    HostForm& form;
    runtime::ExitHook exitHook = nullptr;
};

} // namespace host
