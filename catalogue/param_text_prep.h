// The line editor's preparation of a typed third parameter before it is
// encoded, shared by the condition and the result encoders: the text is
// trimmed, typographic quotes become ASCII quotes, and formula kinds get
// their full-width punctuation normalised.
#pragma once

#include <string>

namespace orlo {

// Trims white space at both ends; when the text holds no ASCII double quote,
// every “ and ” becomes one; with normaliseWidth, applies the full-width
// normalisation of formulas (outside double-quoted strings). Double-byte
// characters are stepped over whole, so no quote is found across two
// characters.
std::string prepareParam3Text(const std::string& text, bool normaliseWidth);

}  // namespace orlo
