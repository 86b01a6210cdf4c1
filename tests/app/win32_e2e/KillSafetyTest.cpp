// The list file survives the program being killed at any moment of its saves: after
// every kill it holds a complete list, the one of some save, and the next start shows
// it and removes what the killed save left behind.
#include "QuorvelDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace e2e {
namespace {

std::vector<wstring> DroppedNames(int run, int count) {
    std::vector<wstring> names;
    for (int i = 0; i < count; ++i)
        names.push_back(L"C:\\dropped\\run" + std::to_wstring(run) + L"\\file" + std::to_wstring(i) + L".txt");
    return names;
}

// The lines of a list file in which every line is ended by CR LF; false when the bytes
// end inside a line (a file written half).
bool CompleteLines(const std::string& bytes, std::vector<wstring>& lines) {
    lines.clear();
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) return false;
        lines.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                           bytes.begin() + static_cast<std::ptrdiff_t>(end));
        start = end + 2;
    }
    return true;
}

std::string Narrow(const wstring& s) { return std::string(s.begin(), s.end()); }

// Each run starts the program, checks it shows the list the previous run left, drops 50
// files (50 saves, the newest on top) and kills the program at a random moment of those
// saves. The first run is not killed: it measures how long the 50 saves take. 1 000
// files are dropped in all.
TEST(KillSafety, ListFileIsAlwaysACompleteListWhenTheProgramIsKilledDuringItsSaves) {
    constexpr int kKills = 20, kFilesPerRun = 50;
    const unsigned seed = ::GetTickCount();
    std::mt19937 random(seed);
    ::DeleteFileW(ListFilePath().c_str());

    std::vector<wstring> list;  // what the list file held when the last run ended
    DWORD savesSpan = 0;
    int killedMidway = 0;
    DWORD startTime = 0;
    for (int run = 0; run <= kKills; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        Program program;
        const DWORD starting = ::GetTickCount();
        ASSERT_TRUE(program.Start());
        startTime += ::GetTickCount() - starting;
        EXPECT_TRUE(TemporaryFiles().empty())
            << "the start left " << TemporaryFiles().size() << " temporary files of the killed run";
        ASSERT_EQ(program.ListItems(), list) << "the start does not show the list file";

        const std::vector<wstring> names = DroppedNames(run, kFilesPerRun);
        const DWORD dropped = ::GetTickCount();
        ASSERT_TRUE(DropFiles(program.MainWindow(), program.Pid(), names));
        if (run == 0) {
            ASSERT_TRUE(WaitFor([] { return ListFileLines().size() == static_cast<size_t>(kFilesPerRun); }, 30000));
            savesSpan = std::max<DWORD>(::GetTickCount() - dropped, 10);
            program.Kill();
        } else {
            // A kill at a random moment of the saves: the time itself is the point.
            ::Sleep(std::uniform_int_distribution<DWORD>(0, savesSpan)(random));
            program.Kill();
        }

        std::vector<wstring> lines;
        ASSERT_TRUE(CompleteLines(ReadFileBytes(ListFilePath()), lines)) << "the list file ends inside a line";
        // A complete list is the earlier list under the first k names of this drop, the
        // last one dropped on top, for some k from 0 to 50.
        ASSERT_GE(lines.size(), list.size()) << "the list file lost lines";
        const size_t added = lines.size() - list.size();
        ASSERT_LE(added, names.size());
        EXPECT_TRUE(std::equal(list.begin(), list.end(), lines.begin() + static_cast<std::ptrdiff_t>(added)))
            << "the earlier list is not kept whole under the new lines";
        for (size_t i = 0; i < added; ++i) ASSERT_EQ(Narrow(lines[i]), Narrow(names[added - 1 - i])) << "line " << i;
        if (run > 0 && added > 0 && added < names.size()) ++killedMidway;
        list = lines;
    }

    Program last;
    ASSERT_TRUE(last.Start());
    EXPECT_TRUE(TemporaryFiles().empty());
    EXPECT_EQ(last.ListItems(), list);
    EXPECT_TRUE(last.Close());
    // Kills that landed between the first and the last save of their drop; the others fell
    // just before the first or after the last one.
    std::printf("%d of %d kills fell between the saves of a drop (50 saves took %lu ms, a start %lu ms)\n",
                killedMidway, kKills, static_cast<unsigned long>(savesSpan),
                static_cast<unsigned long>(startTime / (kKills + 1)));
    EXPECT_GE(killedMidway, kKills / 4) << "the kills did not fall during the saves";
}

}  // namespace
}  // namespace e2e
