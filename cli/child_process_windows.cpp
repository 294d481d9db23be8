// Running another program on Windows: the program is looked for as NAME.exe on the PATH, its
// arguments go on a wide command line quoted as the C runtime splits it, and both of its output
// streams come back through one pipe. The program runs in a job that ends with kmrc: a killed kmrc
// leaves no xorriso writing an image that no one will rename.
#include <windows.h>

#include <cerrno>

#include "child_process.h"
#include "platform/wide_text.h"

namespace kmr::cli {
namespace {

// The program's file found on the PATH, or empty.
std::wstring findOnPath(const std::string& program) {
    const DWORD pathSize = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (pathSize == 0) return {};
    std::wstring path(pathSize, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), pathSize));
    const std::wstring name = platform::widen(program);
    std::wstring found(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::SearchPathW(path.c_str(), name.c_str(), L".exe", static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (n == 0) return {};
        if (n < found.size()) {
            found.resize(n);
            return found;
        }
        found.resize(n);
    }
}

// One argument as CommandLineToArgvW and the C runtime read it back.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!line.empty()) line += L' ';
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace

bool programInstalled(const std::string& program) { return !findOnPath(program).empty(); }

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void(std::string_view)>& onLine) {
    ChildResult result;
    const std::wstring file = findOnPath(program);
    if (file.empty()) {
        result.startError = ENOENT;
        return result;
    }
    std::wstring line;
    appendQuoted(line, file);
    for (const std::string& a : args) appendQuoted(line, platform::widen(a));

    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        result.startError = EIO;
        return result;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nothing = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    // The job's one handle is kmrc's: when kmrc ends, however it ends, the system kills what is in it.
    const HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr) ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    PROCESS_INFORMATION process{};
    BOOL started = ::CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, TRUE,
                                    CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    DWORD startError = started ? 0 : ::GetLastError();
    // A program that could not be put in the job is not let run on its own.
    if (started && (job == nullptr || !::AssignProcessToJobObject(job, process.hProcess))) {
        startError = ::GetLastError();
        ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        started = FALSE;
    }
    if (started) ::ResumeThread(process.hThread);
    ::CloseHandle(writeEnd);
    if (nothing != INVALID_HANDLE_VALUE) ::CloseHandle(nothing);
    if (!started) {
        if (job != nullptr) ::CloseHandle(job);
        ::CloseHandle(readEnd);
        result.startError = startError == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
        return result;
    }
    result.started = true;
    ::CloseHandle(process.hThread);

    std::string pending;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        pending.append(buffer, n);
        passLines(pending, onLine);
    }
    if (!pending.empty()) onLine(pending);
    ::CloseHandle(readEnd);

    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(job);
    result.exitCode = static_cast<int>(code);
    return result;
}

}  // namespace kmr::cli
