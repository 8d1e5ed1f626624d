#pragma once
// The text renderer's UTF-8 reading: one character at a time, 16-bit results. Malformed bytes
// are not errors: each stands for itself (as Latin-1), so any byte string can be drawn.

#include <cstddef>
#include <span>

struct LICE_Utf8Char {
  int code;   // 0..0xFFFF; characters beyond 16 bits read as a space
  int length; // bytes consumed, 1..4 (0 only for empty input)
};

// [any thread] Decodes the character at the start of text, never reading past its end.
LICE_Utf8Char DecodeUtf8Char(std::span<const unsigned char> text);

// [any thread] True when some lead byte 0xC2..0xF4 is followed by a continuation byte (and, for
// 0xE0 and above, by a second one): the text then needs conversion before native drawing.
bool HasMultiByteCharacters(std::span<const unsigned char> text);
