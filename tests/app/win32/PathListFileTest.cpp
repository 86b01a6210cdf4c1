// The stored path list: file bytes for every encoding, the switch to UTF-8 when ANSI would
// lose characters, atomic replacement, and the per-user folder.
#include "app/PathListFile.h"
#include "app/SpecialFolderLocations.h"
#include "framework/SysUtils.h"

#include "app/FileBytes.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

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
        FFolder = String(temp) + L"qv-list-" + IntToStr(::GetCurrentProcessId()) + L"-" +
                  IntToStr(++FSerial) + L"\\";
        ASSERT_TRUE(ForceDirectories(ExcludeTrailingPathDelimiter(FFolder)));
        FFile = FFolder + L"listbox.data";
    }
    void TearDown() override {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((FFolder + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const String name = FFolder + data.cFileName;
                ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(name.c_str());
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(FFolder.c_str());
    }
    int FilesInFolder() {
        int n = 0;
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((FFolder + L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        return n;
    }
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
    EXPECT_EQ(ReadBytes(FFile), std::string("\xEF\xBB\xBF" "C:\\\xE4\xB8\xAD\xE6\x96\x87\\x\r\nC:\\plain\r\n"));

    TStringList back;
    EXPECT_EQ(LoadPathList(FFile, back), teUtf8);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[0], L"C:\\\u4e2d\u6587\\x");
    // A marked encoding stays, also once the text would fit ANSI again.
    EXPECT_EQ(EncodingForSave(ListOf({L"C:\\plain"}), teUtf8), teUtf8);
}

TEST_F(PathListFile, MarkedFilesAreReadAndWrittenBackInTheirEncoding) {
    WriteBytes(FFile, std::string("\xFF\xFE" "C\0:\0\\\0x\0\r\0\n\0", 14));
    TStringList items;
    ASSERT_EQ(LoadPathList(FFile, items), teUtf16LE);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items[0], L"C:\\x");
    items.Insert(0, L"D:\\y");
    SavePathList(FFile, items, EncodingForSave(items, teUtf16LE));
    EXPECT_EQ(ReadBytes(FFile), std::string("\xFF\xFE" "D\0:\0\\\0y\0\r\0\n\0" "C\0:\0\\\0x\0\r\0\n\0", 26));
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

TEST_F(PathListFile, SaveIntoAMissingFolderRaisesTheFileError) {
    EXPECT_THROW(SavePathList(FFolder + L"missing\\listbox.data", ListOf({L"x"}), teAnsi), EFCreateError);
}

TEST_F(PathListFile, UnreadableFileRaisesTheOpenErrorAndLeavesTheItems) {
    TStringList items = ListOf({L"kept"});
    EXPECT_THROW(LoadPathList(FFolder + L"absent.data", items), EFOpenError);
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items[0], L"kept");
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

TEST(ApplicationFolder, UnknownSpecialFolderGivesAnEmptyPath) {
    EXPECT_EQ(GetSpecialFolderLocation(0x7F), String());
}

}  // namespace
}  // namespace qv
