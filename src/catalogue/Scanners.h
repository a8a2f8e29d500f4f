// The line scanners of the catalogue's files. The files look like XML but are written as fixed text pieces
// and read one line at a time: each line is one element, its tag taken with GetTagName and its values picked
// out with GetAttribute.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

#include <optional>

namespace catalogue {

// The tag of a line, lower-cased: the text from the second character up to the first blank, or up to
// the first ">" when there is no blank. "< order" counts as "<order"; an empty line has the empty tag.
// Nothing when the line has no tag (no blank and no ">", or a blank as its first character).
std::optional<Text> GetTagName(TextView line);

// The value of attribute `name` (lower-cased before the search; the line is searched as it is), written
// as  name='value'  with one blank before the name, and found only outside the other quoted values: the
// first such attribute of the line. Empty text when the attribute is missing or has no closing apostrophe.
// "&apos;" inside a value reads as an apostrophe.
Text GetAttribute(TextView line, TextView name);

// The same search with the line lower-cased too, the value read as a lenient decimal number and rounded
// half to even; 0 when missing, not a number, or outside -32768..32767.
Int16 GetIntAttribute(TextView line, TextView name);

// The leading number of a text, read leniently (leading blanks skipped, sign, fraction, exponent) and
// rounded half to even; 0 when there is none or it lies outside -32768..32767.
Int16 LeadingInt16(TextView text);

// order[i] = GetIntAttribute(line, "p" + i) for all 51 positions.
void ParseOrder(TextView line, Catalogue& cat);

// "T" for exactly -1, otherwise "F".
Text BoolToTF(Bool16 value);

} // namespace catalogue
