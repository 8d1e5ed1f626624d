#pragma once
// The seven pictures of TAVO's editor. Sizes, frame counts, frame order and transparency are
// what the editor's layout expects; everything else is look.

#include "tools/ArtworkCanvas.h"

namespace tavo::artwork {

// Where the meter sits: the face is opaque only here, and the panel's glass window covers it.
inline constexpr int kWindowL = 48, kWindowT = 32, kWindowR = 255, kWindowB = 87;

// Needle position (0..1) for a level in dB relative to the meter's reference (the knee at
// 0.638, above which the needle moves at 0.43 of its rate).
float NeedleForDecibels(float db);
// Screen x of the needle's centre line for a needle position.
float NeedleCentreX(float position);

// Sizes are logical; a picture painted at a scale has that many times the pixels on each side.
Canvas PaintMeterFace(float scale);                                    // 304 × 416
Canvas PaintPanel(TextSetter& bold, TextSetter& regular, float scale); // 304 × 416
Canvas PaintLedStrip(float scale);                                     // 48 × 36: unlit, lit
Canvas PaintKnobStrip(int size, int frames, float scale); // size × (size × frames), minimum first
Canvas PaintNeedle(float scale);                          // 12 × 37
Canvas PaintBypassStrip(TextSetter& bold, float scale);   // 192 × 76: clear, cracked glass

} // namespace tavo::artwork
