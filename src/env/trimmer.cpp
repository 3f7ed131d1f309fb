#include "env/trimmer.h"

namespace {
// The timer's identifier is the address of its name: fixed, non-zero, and
// used by no other timer of the window.
constexpr char timerName[] = "内存_优化";
} // namespace

std::int32_t chooseTrimInterval(std::int32_t requested, std::uint32_t useRequested) {
    return useRequested != 0 && requested >= smallestTrimInterval ? requested : defaultTrimInterval;
}

Word startWorkingSetTrimmer(Form& form, Word window, std::int32_t requested, std::uint32_t useRequested) {
    const auto interval = static_cast<std::uint32_t>(chooseTrimInterval(requested, useRequested));
    return form.callLibrary("user32.dll", "SetTimer",
                            {window, reinterpret_cast<Word>(timerName), interval,
                             reinterpret_cast<Word>(&trimWorkingSet)});
}

void QV_SYSTEM_CALLBACK trimWorkingSet(Word, unsigned, Word, unsigned long) {
    Form* form = activeForm();
    if (!form) return;
    // The current-process pseudo handle and both sizes with all bits set, at
    // pointer width, ask Windows to drop as many pages as it can.
    constexpr Word allBits = ~Word{0};
    form->callLibrary("", "SetProcessWorkingSetSize", {allBits, allBits, allBits});
    form->trace("trim");
}
