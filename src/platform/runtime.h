// The runtime's start-up services, as the start routine uses them. The Win32
// runtime provides them for the real program; the in-memory form provides
// them for native tests.
#pragma once

namespace runtime {

using ExitHook = void (*)();

// The runtime keeps one hook, called once after the message loop at a normal end.
void registerExitHook(ExitHook hook);

// Builds MainWindow from the layout: hidden and centred, the controls in layout
// order with only page 1 shown, then the created event, then shown normally.
// A window that cannot be loaded is the runtime's fatal error.
void loadMainWindow();

// Runs until MainWindow has been destroyed; returns the loop's exit code.
int runMessageLoop();

} // namespace runtime
