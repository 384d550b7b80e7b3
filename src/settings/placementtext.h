#pragma once

#include <optional>
#include <string>
#include <string_view>

// The numbers of the stored window position and their text form.
namespace settings {

// The standard text-to-number conversion: optional blanks, a sign, digits
// with an optional fraction and exponent. Anything else, the empty text and
// numbers beyond the single-precision range fail.
std::optional<float> textToSingle(std::string_view text);

// The standard number-to-text conversion: no leading blank, a minus sign for
// negatives, no decimal separator for whole numbers ("1155", "-60").
std::string singleToText(float value);

// A stored coordinate in whole pixels; fails for positions no screen has.
std::optional<int> twipsToPixels(float twips);

// Where a window of `windowSize` stands centred on a screen of `screenSize`
// (both twips): the difference rounded half to even, halved toward zero.
int centredOffset(double screenSize, double windowSize);

} // namespace settings
