// The runtime's character tables: which characters are letters of either case, which are
// digits, and how a letter maps to the other case. Characters are bytes; the tables are
// the runtime's defaults: upper case is A to Z, lower case a to z, digits 0 to 9. Every
// other byte, including the bytes 80h to FFh, belongs to none of the classes and keeps its
// value under case conversion (so text in a multi-byte encoding is never damaged).
#pragma once

namespace qx {

// True for a letter the tables class as upper case (default: A to Z).
bool RtIsUpperLetter(char c);

// True for a letter the tables class as lower case (default: a to z).
bool RtIsLowerLetter(char c);

// True for either of the two.
bool RtIsLetter(char c);

// True for the digits 0 to 9.
bool RtIsDigit(char c);

// The upper-case letter of a lower-case letter; every other character unchanged.
char RtUpperChar(char c);

// The lower-case letter of an upper-case letter; every other character unchanged.
char RtLowerChar(char c);

}  // namespace qx
