// Exceptions, string and number conversions, and file-name helpers of the framework.
// Portable: no <windows.h>.
#pragma once
#include "framework/Types.h"

#include <cstdint>
#include <stdexcept>

namespace qv {

// Base of every framework exception. what() gives the message in UTF-8; Message() the
// framework string the default exception handler shows.
class Exception : public std::runtime_error {
public:
    explicit Exception(const String& message);
    const String& Message() const noexcept { return FMessage; }

private:
    String FMessage;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EListError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
class EClipboardException : public Exception {
public:
    using Exception::Exception;
};
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

// ---- strings ----
String UpperCase(const String& s);                         // ASCII letters only
String LowerCase(const String& s);                         // ASCII letters only
bool SameText(const String& a, const String& b) noexcept;  // ASCII case-insensitive
String Trim(const String& s);                              // drops characters <= ' ' at both ends
String TrimLeft(const String& s);
String TrimRight(const String& s);

// ---- numbers ----
String IntToStr(std::int64_t value);
String IntToHex(std::uint64_t value, int digits);  // upper-case, at least `digits` digits
// Integers: decimal with an optional sign, "$" + hex digits, or "0x"/"0X" + hex digits.
// Hex values up to 0xFFFFFFFF wrap into the signed range (as colour values do). No blanks.
bool TryStrToInt(const String& s, int& value) noexcept;
bool TryStrToInt64(const String& s, std::int64_t& value) noexcept;
int StrToInt(const String& s);  // EConvertError "'<s>' is not a valid integer value"
int StrToIntDef(const String& s, int defaultValue) noexcept;
// Decimal numbers with "." as separator and an optional exponent.
bool TryStrToFloat(const String& s, double& value) noexcept;
double StrToFloat(const String& s);  // EConvertError "'<s>' is not a valid floating point value"
double StrToFloatDef(const String& s, double defaultValue) noexcept;
String FloatToStr(double value);  // shortest text that reads back the same, "." separator

// ---- file names ----
extern const wchar_t PathDelim;                             // "\" on Windows, "/" elsewhere
bool IsPathDelimiter(const String& s, int index) noexcept;  // '/' also counts on Windows
String IncludeTrailingPathDelimiter(const String& s);
String ExcludeTrailingPathDelimiter(const String& s);
String ExtractFilePath(const String& fileName);  // folder with its trailing delimiter
String ExtractFileDir(const String& fileName);   // folder without a trailing delimiter
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);  // with the dot; empty when none
String ChangeFileExt(const String& fileName, const String& extension);

// ---- file system ----
bool FileExists(const String& fileName);         // a file, not a folder; links followed
bool DirectoryExists(const String& directory);   // links followed
bool ForceDirectories(const String& directory);  // creates missing parents; true if it exists after
bool RemoveDir(const String& directory);
// The existing file that fileName names when the letter case of its name is ignored
// (ASCII letters, as Windows file names are matched), in the file system's form of the
// path; empty when there is none.
String ExistingFileIgnoringCase(const String& fileName);
// The folder of the running program, ending with a delimiter; empty when unknown.
String ApplicationFolder();
// Paths in the program's files are written with "\" (the product is a Windows program).
// Where only the portable core runs, "\" becomes "/" before a path reaches the file
// system; on Windows the path is returned as it is.
String FileSystemPath(const String& path);
// Whether path starts at the root of a file system without drive letters ("/..."):
// always false on Windows, where such a path is taken by the program's own rules.
bool IsPosixRootedPath(const String& path) noexcept;
// The system's text for an error code (errno elsewhere, GetLastError() on Windows).
String SysErrorMessage(int errorCode);
int GetLastOSError() noexcept;

// <windows.h> maps DeleteFile to DeleteFileW; the overload below keeps qv::DeleteFile
// usable in files that include it, whichever header comes first.
#pragma push_macro("DeleteFile")
#undef DeleteFile
bool DeleteFile(const String& fileName);
inline bool DeleteFileW(const String& fileName) { return DeleteFile(fileName); }
#pragma pop_macro("DeleteFile")

}  // namespace qv
