#pragma once
// The characters a parameter's entry box lets through: digits and signs for whole numbers and
// lists, a decimal point too for continuous values; backspace always. Characters are compared as
// signed bytes, so bytes 0x80 and above (parts of UTF-8 sequences) never pass. Without a
// parameter every character passes.

namespace tavo {

class IParameter;

// [editor thread]
bool TextEntryAccepts(const IParameter* param, char c);

} // namespace tavo
