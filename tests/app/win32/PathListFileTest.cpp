// The stored path list: file bytes for every encoding, the switch to UTF-8 when ANSI would
// lose characters, atomic replacement, and the per-user folder.
#include "app/win32/PathListFile.h"
#include "app/win32/SpecialFolderLocations.h"
#include "framework/SysUtils.h"

#include "GdiObjects.h"
#include "app/FileBytes.h"
#include "win32/TestWindows.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace qv {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TStringList ListOf(std::initializer_list<const wchar_t*> items) {
    TStringList list;
    for (const wchar_t* s : items) list.Add(s);
    return list;
}

// Every file created by the fixture lives in a fresh folder under the temp folder.
class PathListFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        FFolder = String(temp) + L"qv-list-" + IntToStr(::GetCurrentProcessId()) + L"-" + IntToStr(++FSerial) + L"\\";
        ASSERT_TRUE(ForceDirectories(ExcludeTrailingPathDelimiter(FFolder)));
        FFile = FFolder + L"listbox.data";
        RemoveFiles();  // a folder of an earlier run whose process had the same id
    }
    void TearDown() override {
        RemoveFiles();
        ::RemoveDirectoryW(FFolder.c_str());
    }
    void RemoveFiles() { test::RemoveFilesIn(ExcludeTrailingPathDelimiter(FFolder)); }
    int FilesInFolder() { return static_cast<int>(test::FilesIn(FFolder + L"*").size()); }
    String FFolder, FFile;
    static inline int FSerial = 0;
};

TEST_F(PathListFile, AnsiListIsWrittenWithoutMarkAndEveryLineEndedByCrLf) {
    const TStringList items = ListOf({L"C:\\b\\caf\u00e9.txt", L"C:\\a"});
    ASSERT_EQ(EncodingForSave(items, teAnsi), teAnsi);
    SavePathList(FFile, items, teAnsi);
    EXPECT_EQ(ReadBytes(FFile), std::string("C:\\b\\caf\xe9.txt\r\nC:\\a\r\n"));
}

TEST_F(PathListFile, EmptyListIsAnEmptyFileOrTheMarkAlone) {
    SavePathList(FFile, TStringList(), teAnsi);
    EXPECT_EQ(ReadBytes(FFile), std::string());
    SavePathList(FFile, TStringList(), teUtf8);
    EXPECT_EQ(ReadBytes(FFile), std::string("\xEF\xBB\xBF"));
    SavePathList(FFile, TStringList(), teUtf16LE);
    EXPECT_EQ(ReadBytes(FFile), std::string("\xFF\xFE"));
}

// Characters outside the ANSI code page would become '?' and the path would name nothing.
TEST_F(PathListFile, ListThatAnsiCannotHoldSwitchesToUtf8WithMark) {
    const TStringList items = ListOf({L"C:\\\u4e2d\u6587\\x", L"C:\\plain"});
    const TTextEncoding encoding = EncodingForSave(items, teAnsi);
    ASSERT_EQ(encoding, teUtf8);
    SavePathList(FFile, items, encoding);
    EXPECT_EQ(ReadBytes(FFile), std::string("\xEF\xBB\xBF"
                                            "C:\\\xE4\xB8\xAD\xE6\x96\x87\\x\r\nC:\\plain\r\n"));

    TStringList back;
    EXPECT_EQ(LoadPathList(FFile, back), teUtf8);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[0], L"C:\\\u4e2d\u6587\\x");
    // A marked encoding stays, also once the text would fit ANSI again.
    EXPECT_EQ(EncodingForSave(ListOf({L"C:\\plain"}), teUtf8), teUtf8);
}

TEST_F(PathListFile, MarkedFilesAreReadAndWrittenBackInTheirEncoding) {
    WriteBytes(FFile, std::string("\xFF\xFE"
                                  "C\0:\0\\\0x\0\r\0\n\0",
                                  14));
    TStringList items;
    ASSERT_EQ(LoadPathList(FFile, items), teUtf16LE);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items[0], L"C:\\x");
    items.Insert(0, L"D:\\y");
    SavePathList(FFile, items, EncodingForSave(items, teUtf16LE));
    EXPECT_EQ(ReadBytes(FFile), std::string("\xFF\xFE"
                                            "D\0:\0\\\0y\0\r\0\n\0"
                                            "C\0:\0\\\0x\0\r\0\n\0",
                                            26));
}

TEST_F(PathListFile, ReadingAcceptsEveryLineEndAndNoEmptyLastItem) {
    WriteBytes(FFile, "a\r\nb\rc\nd\r\n");
    TStringList items;
    EXPECT_EQ(LoadPathList(FFile, items), teAnsi);
    ASSERT_EQ(items.Count(), 4);
    EXPECT_EQ(items[0], L"a");
    EXPECT_EQ(items[1], L"b");
    EXPECT_EQ(items[2], L"c");
    EXPECT_EQ(items[3], L"d");
}

// A save that cannot replace the file leaves it as it was and leaves no temporary behind.
TEST_F(PathListFile, FailedSaveKeepsThePreviousFileAndReportsTheFileError) {
    SavePathList(FFile, ListOf({L"old"}), teAnsi);
    ASSERT_TRUE(::SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        SavePathList(FFile, ListOf({L"new", L"old"}), teAnsi);
        FAIL() << "a save over a read-only list file succeeded";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(L"Cannot create file \"" + FFile + L"\""), String::npos) << e.what();
    }
    EXPECT_EQ(ReadBytes(FFile), "old\r\n");
    EXPECT_EQ(FilesInFolder(), 1);
}

// Another program reading the list file holds it open without letting it be replaced: a
// short hold only delays the save; a hold that outlasts the save's patience makes it fail
// with the file error, the old file kept and no temporary left.
TEST_F(PathListFile, ReaderHoldingTheFileDelaysTheSaveOrFailsItCleanly) {
    SavePathList(FFile, ListOf({L"old"}), teAnsi);
    const auto holdFor = [this](DWORD ms) {
        HANDLE h = ::CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE);
        return std::thread([h, ms] {
            ::Sleep(ms);  // how long the other program holds the file is the scenario itself
            ::CloseHandle(h);
        });
    };
    std::thread brief = holdFor(300);
    EXPECT_NO_THROW(SavePathList(FFile, ListOf({L"new", L"old"}), teAnsi));
    brief.join();
    EXPECT_EQ(ReadBytes(FFile), "new\r\nold\r\n");

    std::thread throughout = holdFor(3000);
    EXPECT_THROW(SavePathList(FFile, ListOf({L"newer", L"new", L"old"}), teAnsi), EFCreateError);
    throughout.join();
    EXPECT_EQ(ReadBytes(FFile), "new\r\nold\r\n");
    EXPECT_EQ(FilesInFolder(), 1);
}

// Only a name the system reports as not there means "no list yet"; any other failure to
// look means the file is read (and its error shown), never taken as an empty list.
TEST_F(PathListFile, OnlyAMissingNameIsNoListYet) {
    EXPECT_TRUE(NoListFileYet(FFile));
    EXPECT_TRUE(NoListFileYet(FFolder + L"missing\\listbox.data"));
    EXPECT_TRUE(NoListFileYet(ExcludeTrailingPathDelimiter(FFolder)));  // a folder
    SavePathList(FFile, ListOf({L"a"}), teAnsi);
    EXPECT_FALSE(NoListFileYet(FFile));
    // A name the system cannot look up at all.
    EXPECT_FALSE(NoListFileYet(FFolder + L"list?data"));
}

TEST_F(PathListFile, SaveIntoAMissingFolderRaisesTheFileError) {
    EXPECT_THROW(SavePathList(FFolder + L"missing\\listbox.data", ListOf({L"x"}), teAnsi), EFCreateError);
}

TEST_F(PathListFile, UnreadableFileRaisesTheOpenErrorAndLeavesTheItems) {
    TStringList items = ListOf({L"kept"});
    EXPECT_THROW(LoadPathList(FFolder + L"absent.data", items), EFOpenError);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items[0], L"kept");
}

String StartStampOfThisProcess() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return IntToHex((static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime, 16);
}

bool Exists(const String& name) { return ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A save killed between creating its temporary file and putting it in place leaves the
// file behind. The next start removes those of processes that are gone, and only those.
TEST_F(PathListFile, TemporariesOfGoneProcessesAreRemovedAndAllOthersKept) {
    const String own = IntToStr(::GetCurrentProcessId());
    const String ownLive = FFile + L"." + own + L"-" + StartStampOfThisProcess() + L"-7.tmp";
    const String ownIdReused = FFile + L"." + own + L"-00000000DEADBEEF-7.tmp";  // an earlier process with our id
    const String gone = FFile + L".4294967292-" + StartStampOfThisProcess() + L"-1.tmp";
    const String goneEarlierForm = FFile + L".4294967292-3.tmp";
    const String ownEarlierForm = FFile + L"." + own + L"-3.tmp";
    const std::vector<String> unrelated{FFile + L".notes.tmp", FFile + L".12-x-1.tmp",
                                        FFolder + L"other.data.4294967292-1.tmp", FFile + L".4294967292-1.tmp.keep"};
    for (const String& name : {ownLive, ownIdReused, gone, goneEarlierForm, ownEarlierForm}) WriteBytes(name, "x");
    for (const String& name : unrelated) WriteBytes(name, "x");

    EXPECT_EQ(RemoveStaleTemporaries(FFile), 3);
    EXPECT_TRUE(Exists(ownLive)) << "this process runs: its file may be a save in progress";
    EXPECT_TRUE(Exists(ownEarlierForm));
    EXPECT_FALSE(Exists(ownIdReused)) << "same id, other start: that process is gone";
    EXPECT_FALSE(Exists(gone));
    EXPECT_FALSE(Exists(goneEarlierForm));
    for (const String& name : unrelated) EXPECT_TRUE(Exists(name)) << StringToAnsi(name);
}

// Files of a killed process that had this process's id, named as any build names them,
// must not stand in the way of a save.
TEST_F(PathListFile, LeftoversNamedAfterThisProcessIdDoNotMakeASaveFail) {
    const String own = IntToStr(::GetCurrentProcessId());
    for (int serial = 1; serial <= 300; ++serial)
        WriteBytes(FFile + L"." + own + L"-" + IntToStr(serial) + L".tmp", "x");
    SavePathList(FFile, ListOf({L"C:\\a"}), teAnsi);
    SavePathList(FFile, ListOf({L"C:\\b", L"C:\\a"}), teAnsi);
    EXPECT_EQ(ReadBytes(FFile), "C:\\b\r\nC:\\a\r\n");
    EXPECT_EQ(FilesInFolder(), 301) << "the save leaves no file of its own and deletes none of the others";
}

// A list file that could not be read is moved aside; earlier files moved aside stay.
TEST_F(PathListFile, UnreadableFilesAreMovedAsideUnderNumberedNamesNeverOverwritten) {
    WriteBytes(FFile, "first");
    EXPECT_EQ(MoveUnreadableListAside(FFile), FFile + L".unread");
    WriteBytes(FFile, "second");
    EXPECT_EQ(MoveUnreadableListAside(FFile), FFile + L".unread.2");
    WriteBytes(FFile, "third");
    EXPECT_EQ(MoveUnreadableListAside(FFile), FFile + L".unread.3");
    EXPECT_EQ(ReadBytes(FFile + L".unread"), "first");
    EXPECT_EQ(ReadBytes(FFile + L".unread.2"), "second");
    EXPECT_EQ(ReadBytes(FFile + L".unread.3"), "third");
    EXPECT_FALSE(Exists(FFile));
    EXPECT_EQ(MoveUnreadableListAside(FFile), String()) << "nothing to move";

    // A file that cannot be moved is reported and stays where it is.
    WriteBytes(FFile, "locked");
    HANDLE lock = ::CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    try {
        MoveUnreadableListAside(FFile);
        ADD_FAILURE() << "a locked file was reported as moved";
    } catch (const EFCreateError& e) {
        EXPECT_NE(e.Message().find(L"cannot be moved aside"), String::npos) << e.what();
    }
    ::CloseHandle(lock);
    EXPECT_EQ(ReadBytes(FFile), "locked");
    EXPECT_FALSE(Exists(FFile + L".unread.4"));
}

// The access list of a file as text ("D:P(A;;FA;;;WD)"), or empty.
String AccessListOf(const String& fileName) {
    DWORD needed = 0;
    ::GetFileSecurityW(fileName.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<unsigned char> descriptor(needed ? needed : 1);
    if (!::GetFileSecurityW(fileName.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        return String();
    wchar_t* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor.data(), SDDL_REVISION_1,
                                                                DACL_SECURITY_INFORMATION, &text, nullptr))
        return String();
    const String result = text;
    ::LocalFree(text);
    return result;
}

// The replaced file keeps what the user or an administrator set on it: its attributes
// and its access list.
TEST_F(PathListFile, SaveKeepsTheAttributesAndSecurityOfTheListFile) {
    SavePathList(FFile, ListOf({L"old"}), teAnsi);
    ASSERT_TRUE(::SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::GetFileAttributesW(FFile.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "this file system keeps no attributes";
    PSECURITY_DESCRIPTOR everyoneReads = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FR;;;WD)(A;;FA;;;BA)", SDDL_REVISION_1,
                                                                       &everyoneReads, nullptr));
    ASSERT_TRUE(::SetFileSecurityW(FFile.c_str(), DACL_SECURITY_INFORMATION, everyoneReads));
    ::LocalFree(everyoneReads);
    const String accessList = AccessListOf(FFile);

    SavePathList(FFile, ListOf({L"new"}), teAnsi);
    EXPECT_EQ(ReadBytes(FFile), "new\r\n");
    EXPECT_TRUE(::GetFileAttributesW(FFile.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(accessList.empty());
    EXPECT_EQ(AccessListOf(FFile), accessList);
}

// Makes link a symbolic link to target: with the system's call on Windows; under Wine,
// whose call creates nothing, with the host's ln on the host's names of the two files.
bool MakeSymbolicLink(const String& link, const String& target) {
    if (!test::RunningUnderWine())
        return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0x2 /* unprivileged create */) != FALSE;
    using UnixName = char* (*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return false;
    char* unixTarget = unixName(target.c_str());
    char* unixLink = unixName(link.c_str());
    if (!unixTarget || !unixLink) return false;
    String command = L"ln -s \"" + AnsiToString(unixTarget) + L"\" \"" + AnsiToString(unixLink) + L"\"";
    ::HeapFree(::GetProcessHeap(), 0, unixTarget);
    ::HeapFree(::GetProcessHeap(), 0, unixLink);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    // A host program's end is not reported reliably: wait for the link instead.
    for (int waited = 0; waited < 5000; waited += 20) {
        if (Exists(link)) return true;
        ::Sleep(20);
    }
    return false;
}

// A list file that is a symbolic link (say to a synchronised folder) stays a link: the
// save writes the file it points to.
TEST_F(PathListFile, SaveThroughASymbolicLinkWritesItsTarget) {
    const String target = FFolder + L"real.data";
    WriteBytes(target, "old\r\n");
    if (!MakeSymbolicLink(FFile, target)) GTEST_SKIP() << "no symbolic link can be made here";
    ASSERT_EQ(ReadBytes(FFile), "old\r\n");
    SavePathList(FFile, ListOf({L"new", L"old"}), teAnsi);
    EXPECT_EQ(ReadBytes(target), "new\r\nold\r\n") << "the link's target was not written";
    WriteBytes(target, "changed\r\n");
    EXPECT_EQ(ReadBytes(FFile), "changed\r\n") << "the list file is no longer a link";
    EXPECT_EQ(FilesInFolder(), 2) << "a temporary file was left";
}

// Tests point the program at a folder of their own; a long one must not send them to
// the user's own list.
TEST(ApplicationFolder, AListFolderNamedPastMaxPathIsTheOneUsed) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const String folder = String(temp) + L"qv-long-" + IntToStr(::GetCurrentProcessId()) + L"\\" + String(150, L'a') +
                          L"\\" + String(150, L'b');
    ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", folder.c_str());
    const String list = ListFileName();
    ::SetEnvironmentVariableW(L"QUORVEL_LIST_FOLDER", nullptr);
    EXPECT_EQ(list, folder + L"\\listbox.data");
    EXPECT_TRUE(DirectoryExists(folder));
    ::RemoveDirectoryW(folder.c_str());
    ::RemoveDirectoryW(ExtractFileDir(folder).c_str());
    ::RemoveDirectoryW(ExtractFileDir(ExtractFileDir(folder)).c_str());
}

TEST(ApplicationFolder, IsCreatedUnderRoamingAppDataOnEveryCall) {
    const String appData = GetSpecialFolderLocation(CSIDL_APPDATA);
    ASSERT_FALSE(appData.empty());
    const String name = L"QuorvelTest" + IntToStr(::GetCurrentProcessId());
    const String folder = GetApplicationFolderLocation(name);
    EXPECT_EQ(folder, IncludeTrailingPathDelimiter(appData) + name + L"\\");
    EXPECT_TRUE(DirectoryExists(folder));
    ASSERT_TRUE(::RemoveDirectoryW(folder.c_str()));
    EXPECT_EQ(GetApplicationFolderLocation(name), folder);
    EXPECT_TRUE(DirectoryExists(folder)) << "the folder is made again on the next call";
    ::RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(ListFileName(), IncludeTrailingPathDelimiter(appData) + L"Quorvel\\listbox.data");
}

TEST(ApplicationFolder, UnknownSpecialFolderGivesAnEmptyPath) { EXPECT_EQ(GetSpecialFolderLocation(0x7F), String()); }

}  // namespace
}  // namespace qv
