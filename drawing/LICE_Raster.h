#pragma once
// The raster functions. They work on any LICE_IBitmap, keep no state between calls, report no
// errors, and draw nothing when a bitmap is null, has no pixel memory, or the area is clipped
// away. All of them run on the editor thread and never allocate, except CopyBitmap, which
// resizes its destination.
//
// The mode word: bits 0-7 choose the blend (0 copy, 1 add, 2 dodge, 3 multiply, 4 overlay,
// 5 hue/saturation/value adjust; 0xF0-0xFF copy one channel in BlitBitmap), bit 8 asks for
// bilinear sampling in the scaled and rotated blits, bit 16 lets the source's alpha scale the
// weight. The weight `alpha` runs over 0..1; integer paths use (int)(alpha * 256).

#include "drawing/LICE_IBitmap.h"

inline constexpr int LICE_BLIT_MODE_COPY = 0;
inline constexpr int LICE_BLIT_MODE_ADD = 1;
inline constexpr int LICE_BLIT_MODE_DODGE = 2;
inline constexpr int LICE_BLIT_MODE_MUL = 3;
inline constexpr int LICE_BLIT_MODE_OVERLAY = 4;
inline constexpr int LICE_BLIT_MODE_HSVADJ = 5;
inline constexpr int LICE_BLIT_MODE_MASK = 0xFF;
inline constexpr int LICE_BLIT_MODE_CHANCOPY = 0xF0;
inline constexpr int LICE_BLIT_FILTER_BILINEAR = 0x100;
inline constexpr int LICE_BLIT_USE_ALPHA = 0x10000;

// [editor thread] Draws srcRect of src (null: all of it) with its top-left at (dstX, dstY).
void BlitBitmap(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY,
                const LICE_Rect* srcRect, float alpha, int mode);
// [editor thread] BlitBitmap of the srcW x srcH area at (srcX, srcY).
void BlitBitmapRect(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int srcX,
                    int srcY, int srcW, int srcH, float alpha, int mode);
// [editor thread] The smallest rectangle of area holding every pixel of src whose alpha is below
// 255, all zero when there is none: outside it, a full-weight copy of the area, with or without
// the source's alpha, leaves nothing of what was under. False when the area reaches outside src
// or src has no pixel memory.
bool TranslucentBounds(const LICE_IBitmap* src, const LICE_Rect& area, LICE_Rect* bounds);
// [editor thread · may allocate] Resizes dest to src's size and copies every pixel.
void CopyBitmap(LICE_IBitmap* dest, const LICE_IBitmap* src);
// [editor thread]
void FillRectangle(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel colour, float alpha,
                   int mode);
// [editor thread] Every pixel of the area becomes (pixel & andMask) | orBits.
void MaskRectangle(LICE_IBitmap* dest, int x, int y, int w, int h, LICE_pixel andMask,
                   LICE_pixel orBits);
// [editor thread] Both end points are drawn.
void DrawLine(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, LICE_pixel colour, float alpha,
              int mode, bool antialias);
// [editor thread] Draws the source area (in fractional pixels) stretched onto dstW x dstH; a
// negative destination extent mirrors that axis.
void BlitBitmapScaled(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int dstW,
                      int dstH, float srcX, float srcY, float srcW, float srcH, float alpha,
                      int mode);
// [editor thread] Draws the source area turned by angle (radians) about the middle of the
// destination rectangle moved by the centre offsets.
void BlitBitmapRotated(LICE_IBitmap* dest, const LICE_IBitmap* src, int dstX, int dstY, int dstW,
                       int dstH, float srcX, float srcY, float srcW, float srcH, float angle,
                       bool clipToSource, float alpha, int mode, float centreOffsetX,
                       float centreOffsetY);
