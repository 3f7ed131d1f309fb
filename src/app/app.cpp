#include "app/app.h"

#include "env/skin.h"
#include "env/trimmer.h"
#include "platform/runtime.h"

int startProgram() {
    runtime::registerExitHook(releaseGlobals);
    runtime::loadMainWindow();
    runtime::runMessageLoop();
    return 0;
}

void startWindowServices(Form& form, std::string_view) {
    // The timer first, then the skin, both before the window is first shown.
    startWorkingSetTrimmer(form, form.mainWindowHandle(), 0, 0);
    skinWindow(form, 17);
}

void releaseGlobals() {
    skinFilePath.clear();
    skinFilePath.shrink_to_fit();
    if (Form* form = activeForm()) form->trace("exit-hook");
}
