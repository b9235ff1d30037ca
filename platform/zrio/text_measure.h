// How wide text is. Every consumer of text geometry (extents, hit test,
// screen, export, MTEXT word wrap) measures with these functions, so that a
// text's box is the same everywhere and on every machine, whatever fonts it
// has: the width comes from a fixed per-character estimate, not from a font.
// The screen then fits the glyphs of its stand-in face into that width.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

namespace zr {

// Advance of one character, in text heights at width factor 1:
//   control characters and combining marks      0
//   wide characters (CJK ideographs, kana, Hangul, full-width forms) 1
//   narrow punctuation and thin letters ("il.,;:!|'")            0.3
//   space, brackets, "-", "/", "f", "r", "t" and the like       0.45..0.5
//   wide Latin letters ("mwMW@%")                                 0.95
//   any other character                                          0.7
// These follow the proportions of the usual CAD fonts.
double CharAdvance(char32_t c);

// True for characters that are one text height wide (and may be broken
// between when text is wrapped).
bool IsWideChar(char32_t c);

// Reads the character of `text` (UTF-8) that starts at *pos as it is
// displayed and moves *pos past it: %%d, %%p and %%c become the degree,
// plus-minus and diameter (shown as U+00D8) signs, %%% a percent sign; %%u and %%o (underline
// and overline switches) give 0, as does nothing else. A byte that does not
// start valid UTF-8 gives U+FFFD.
char32_t NextDisplayChar(const std::string& text, size_t* pos);

// The displayed characters of a text (UTF-8) in UTF-16.
std::u16string TextForDisplay(const std::string& utf8);

// Width of a text (UTF-8, as NextDisplayChar reads it), in text heights at
// width factor 1.
double TextAdvance(const std::string& utf8);

// Advance of each UTF-16 unit of a displayed text, in text heights; the
// second unit of a surrogate pair has 0. With `wide`, also whether each unit
// belongs to a wide character.
std::vector<double> DisplayAdvances(const std::u16string& text, std::vector<bool>* wide = nullptr);

}  // namespace zr
