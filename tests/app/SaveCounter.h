// Counts how often a list file is replaced, by watching its folder: each save moves a
// finished temporary file over the list file, which the folder reports as a rename to
// the list file's name.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace e2e {

class SaveCounter {
public:
    explicit SaveCounter(const std::wstring& folder) {
        FDir = ::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        FStop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        FArmed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        FThread = std::thread([this] { Watch(); });
        // Saves made before the folder is watched would go unseen.
        ::WaitForSingleObject(FArmed, 5000);
    }
    ~SaveCounter() {
        ::SetEvent(FStop);
        FThread.join();
        ::CloseHandle(FArmed);
        ::CloseHandle(FStop);
        ::CloseHandle(FDir);
    }
    int Saves() const { return FSaves; }
    // Waits until at least `count` saves were seen (at most limitMs), then a little longer
    // so that a surplus save would be counted too; gives the count.
    int SavesAfterWaitingFor(int count, int limitMs = 5000) const {
        for (int waited = 0; FSaves < count && waited < limitMs; waited += 10) ::Sleep(10);
        ::Sleep(100);  // proves that no surplus save follows: nothing to wait for
        return FSaves;
    }

private:
    void Watch() {
        alignas(DWORD) char buffer[16384];
        OVERLAPPED overlapped{};
        overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        for (;;) {
            ::ResetEvent(overlapped.hEvent);
            if (!::ReadDirectoryChangesW(FDir, buffer, sizeof buffer, FALSE,
                                         FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE, nullptr,
                                         &overlapped, nullptr))
                break;
            ::SetEvent(FArmed);
            const HANDLE waits[2] = {overlapped.hEvent, FStop};
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                ::CancelIo(FDir);
                DWORD ignored = 0;
                ::GetOverlappedResult(FDir, &overlapped, &ignored, TRUE);
                break;
            }
            DWORD got = 0;
            if (!::GetOverlappedResult(FDir, &overlapped, &got, FALSE)) break;
            for (size_t offset = 0; got && offset < got;) {
                auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer + offset);
                const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (name == L"listbox.data" && info->Action == FILE_ACTION_RENAMED_NEW_NAME) ++FSaves;
                if (!info->NextEntryOffset) break;
                offset += info->NextEntryOffset;
            }
        }
        ::CloseHandle(overlapped.hEvent);
    }
    HANDLE FDir = INVALID_HANDLE_VALUE;
    HANDLE FStop = nullptr;
    HANDLE FArmed = nullptr;
    std::thread FThread;
    std::atomic<int> FSaves{0};
};

}  // namespace e2e
