#pragma once
// Names given to the host are one text with variants separated by "\n", longest first. A name
// is fitted to a width by taking the first variant that fits, else the last variant cut to the
// width.

#include <cstddef>
#include <cstdint>
#include <string>

// [any thread] Writes the fitted variant NUL-terminated into dest, which holds at least
// maxLength + 1 bytes. A null text gives an empty result; a negative width counts as 0.
void FitNameVariant(const char* text, int32_t maxLength, char* dest);

// [any thread] The same, as a string.
std::string FittedNameVariant(const char* text, int32_t maxLength);
