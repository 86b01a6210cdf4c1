// The stored path list (listbox.data): one path per line, each line ended by CR LF.
//
// Files are read in the encoding their byte-order mark names (UTF-8, UTF-16), or in the
// ANSI code page when they have none; that encoding is kept for every later save, with
// its mark. Two things go beyond a plain text save, because the plain save loses data:
//  - a list holding characters the ANSI code page cannot represent is written as UTF-8
//    with its mark (and stays UTF-8 from then on) instead of turning them into '?';
//  - a save is atomic: the text goes to a temporary file in the same folder, which is
//    flushed and then moved over the list file, so a failed save leaves the previous file
//    exactly as it was.
#pragma once
#include "framework/StringList.h"
#include "framework/Types.h"

namespace qv {

// The list file inside the program's per-user data folder, computed anew on each call
// (the folder is created if missing).
String ListFileName();

// Reads fileName into items (replacing them); returns the encoding found. Raises the
// framework's file errors when the file cannot be read; items are then unchanged.
TTextEncoding LoadPathList(const String& fileName, TStringList& items);

// The encoding a save of items should use when the file was last read or written in
// `current`: `current` itself, except that an unmarked ANSI file whose new content the code
// page cannot hold becomes UTF-8.
TTextEncoding EncodingForSave(const TStringList& items, TTextEncoding current);

// Writes items atomically in `encoding`. Raises EFCreateError (with the system's reason)
// when the file cannot be written; the previous file is then untouched and no temporary
// file is left behind.
void SavePathList(const String& fileName, TStringList items, TTextEncoding encoding);

}  // namespace qv
