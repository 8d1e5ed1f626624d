#pragma once
// The host numbers channel layouts as stem formats; the types translate both ways.

#include <cstdint>

// [any thread] 1→0, 2→1, 3→2, 4→3, 5→5, 6→6, 7→8, 8→12; any other count → −1.
int32_t ChannelsToStemFormat(int32_t channels);

// [any thread · may throw] The inverse, with the host's aliases (4, 7, 9, 11 …); a stem format
// without a channel count throws CDAEError −7401.
int32_t StemFormatToChannels(int32_t stemFormat);
