// Word and path utilities of the skin engine, and the inherited lookups of skin
// option keys (FindString, FindInteger). Portable.
#pragma once
#include "framework/Types.h"
#include "model/sSkinData.h"

#include <vector>

namespace qv {

class TMemIniFile;

// A folder path ending in "\": empty stays empty, a trailing "/" becomes "\", a single
// character (a drive letter) gets ":\".
String NormalDir(const String& path);

// Words of s separated by any of the delimiter characters; runs of delimiters count as
// one and delimiters at either end start or end no word.
int WordCount(const String& s, const String& delimiters);
// Word n (1-based) of s, empty when there are fewer words.
String ExtractWord(int n, const String& s, const String& delimiters);

// Inherited lookups of a section key. A key that is absent in the section is looked up
// in the section its PARENTCLASS names, and so on up the chain.
// FindString: the value "?" counts as absent.
String FindString(const TMemIniFile& ini, const String& section, const String& key, const String& def);
// FindInteger: an absent, non-numeric or -1 value counts as absent; a value that came
// from a parent section (and only such a value) is turned from a system colour into RGB.
int FindInteger(const TMemIniFile& ini, const String& section, const String& key, int def);

// The lines of INI text split into sections: comment lines (";") are skipped, a line
// "[NAME]" starts a section, other lines are added to the current section.
struct TacIniSection {
    String Name;
    std::vector<String> Lines;
};
std::vector<TacIniSection> GetIniSections(const std::vector<String>& lines);

}  // namespace qv
