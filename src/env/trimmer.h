// The working-set trimming timer.
#pragma once

#include "platform/form.h"

#include <cstdint>

inline constexpr std::int32_t defaultTrimInterval = 3000;
inline constexpr std::int32_t smallestTrimInterval = 1000;

// The interval rule: the request only when the flag is set and it is at least 1000.
std::int32_t chooseTrimInterval(std::int32_t requested, std::uint32_t useRequested);

// Starts the window timer; returns what SetTimer returns.
Word startWorkingSetTrimmer(Form& form, Word window, std::int32_t requested, std::uint32_t useRequested);

// The timer procedure.
void QV_SYSTEM_CALLBACK trimWorkingSet(Word window, unsigned message, Word id, unsigned long tick);
