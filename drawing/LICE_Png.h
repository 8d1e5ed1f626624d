#pragma once
// PNG images to and from bitmaps. Decoded pixels are 0xAARRGGBB words with straight alpha,
// whatever the file's colour type and depth; no partial image is ever returned.
//
// Ownership: a loader given a bitmap decodes into it (resizing it) and returns that same
// bitmap, which stays the caller's. Without one, the loader creates a LICE_MemBitmap (row
// alignment 4) that the caller then owns and deletes. On failure the result is null and any
// bitmap the loader created is gone.

#include "drawing/LICE_IBitmap.h"
#include "platform/ModulePath.h"

#include <cstddef>
#include <vector>

// [editor thread · may allocate] Decodes a PNG held in memory.
LICE_IBitmap* LoadPngFromMemory(const void* data, std::size_t length, LICE_IBitmap* bitmap);

// [editor thread · may block] Decodes a PNG file. With checkExtension the path must end in
// ".png" (any case).
LICE_IBitmap* LoadPngFromFile(const char* path, bool checkExtension, LICE_IBitmap* bitmap);

// [editor thread · may allocate] Decodes the module's resource of type "PNG" and this id.
LICE_IBitmap* LoadPngFromResource(tavo::platform::ModuleHandle module, int id,
                                  LICE_IBitmap* bitmap);

// The file-dialog description of the format.
const char* PngFileTypeDescription();

// [editor thread · may block] Writes the bitmap as an 8-bit RGBA PNG (straight alpha). False
// when the bitmap is empty or the file cannot be written.
bool WritePngToFile(const char* path, const LICE_IBitmap& bitmap);

// [editor thread · may allocate] The same encoding into memory; empty on failure.
std::vector<unsigned char> EncodePng(const LICE_IBitmap& bitmap);
