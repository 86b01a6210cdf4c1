// The stored path list (listbox.data): one path per line, each line ended by CR LF.
//
// Files are read in the encoding their byte-order mark names (UTF-8, UTF-16), or in the
// ANSI code page when they have none; that encoding is kept for every later save, with
// its mark. Several things go beyond a plain text save, because the plain save loses data:
//  - a list holding characters the ANSI code page cannot represent is written as UTF-8
//    with its mark (and stays UTF-8 from then on) instead of turning them into '?';
//  - a save is atomic: the text goes to a temporary file in the same folder, which is
//    flushed and then replaces the list file, so a failed or killed save leaves the
//    previous file exactly as it was;
//  - the replaced file keeps its attributes and security, and a list file
//    that is a symbolic link has its target written, the link staying a link;
//  - a list file that could not be read is moved aside before it would be overwritten.
#pragma once
#include "framework/StringList.h"
#include "framework/Types.h"

namespace qv {

// The list file inside the program's per-user data folder, computed anew on each call
// (the folder is created if missing). The environment variable QUORVEL_LIST_FOLDER, when
// set, names another folder: tests use it so that they never touch the user's own list.
String ListFileName();

// True when there is no list file yet: the name is not there, or is a folder or a link
// to nothing. A failure to look for another reason (no access, a network folder that is
// not reachable yet) is not "no list": the caller reads the file and reports why, so the
// first save cannot replace a list the user never saw.
bool NoListFileYet(const String& fileName);

// Reads fileName into items (replacing them); returns the encoding found. Raises the
// framework's file errors when the file cannot be read; items are then unchanged.
TTextEncoding LoadPathList(const String& fileName, TStringList& items);

// As above; textIntact tells whether a file marked as UTF-8 or UTF-16 is valid text in
// that encoding. Bytes that are not are read as U+FFFD, and writing the list back would
// replace them for good, so the caller keeps such a file before its first save.
TTextEncoding LoadPathList(const String& fileName, TStringList& items, bool& textIntact);

// The encoding a save of items should use when the file was last read or written in
// `current`: `current` itself, except that an unmarked ANSI file whose new content the code
// page cannot hold becomes UTF-8.
TTextEncoding EncodingForSave(const TStringList& items, TTextEncoding current);

// Writes items atomically in `encoding`. Raises EFCreateError (with the system's reason)
// when the file cannot be written; the previous file is then untouched and no temporary
// file is left behind.
void SavePathList(const String& fileName, TStringList items, TTextEncoding encoding);

// Moves an unreadable list file aside to fileName + ".unread", or ".unread.2", ".unread.3"
// ... when earlier ones exist (they are never overwritten); returns the name it got, or
// an empty string when the file is gone already. Raises EFCreateError when the file
// cannot be moved: the save must then not go on.
String MoveUnreadableListAside(const String& fileName);

// Deletes the temporary files that saves of fileName left behind in processes that no
// longer run (killed during a save); returns how many were deleted. Temporaries of
// running copies of the program are left alone.
int RemoveStaleTemporaries(const String& fileName);

}  // namespace qv
