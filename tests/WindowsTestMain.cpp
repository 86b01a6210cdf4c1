// The entry point of the Windows test programs. Two things differ from the stock one:
// - Standard output and error are unbuffered. Under Wine both are pipes, which the C
//   runtime buffers fully, so a program that dies took everything it printed with it and
//   the test runner showed an empty log.
// - A program that dies of an unhandled exception says so on standard error and ends:
//   the exception code and address, the module it lies in, and the test that ran.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

namespace {

// The module holding an address, by name, or "?" when none does.
void ModuleNameOf(const void* address, char* name, DWORD size) {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!::GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module) ||
        ::GetModuleFileNameA(module, name, size) == 0) {
        std::snprintf(name, size, "?");
    }
}

LONG WINAPI ReportUnhandledException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    char module[MAX_PATH];
    ModuleNameOf(record.ExceptionAddress, module, sizeof module);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "unhandled exception 0x%08lX at %p in %s during %s.%s\n",
                 static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress, module,
                 test ? test->test_suite_name() : "(no test)", test ? test->name() : "");
    // End the program at once: the system would otherwise start a debugger, which under
    // Wine waits until the test's time is up.
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    // Room on the stack for the report above when the stack itself overflowed.
    ULONG guarantee = 32 * 1024;
    ::SetThreadStackGuarantee(&guarantee);
    ::SetUnhandledExceptionFilter(ReportUnhandledException);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
