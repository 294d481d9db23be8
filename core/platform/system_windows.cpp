#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <cstdlib>

#include "platform/path_text.h"
#include "platform/system.h"
#include "platform/wide_text.h"

namespace kmr::platform {

std::filesystem::path pathOf(std::string_view utf8) {
    std::string_view p = utf8;
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    const auto isDrive = [](std::string_view s) {
        return s.size() >= 2 && s[1] == ':' && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= 'a' && s[0] <= 'z'));
    };
    std::string typed;
    if (p.size() >= 4 && isSeparator(p[0]) && isSeparator(p[1]) && p[2] == '?' && isSeparator(p[3])) {
        p.remove_prefix(4);
        if (p.size() >= 4 && (p[0] | 0x20) == 'u' && (p[1] | 0x20) == 'n' && (p[2] | 0x20) == 'c' &&
            isSeparator(p[3])) {
            typed = "\\\\";
            p.remove_prefix(4);
        }
    }
    typed.append(p);
    if (typed.size() == 2 && isDrive(typed)) typed.push_back('\\');
    return std::filesystem::path(std::u8string(typed.begin(), typed.end()));
}

std::string environmentValue(const char* name) {
    const std::wstring wide = widen(name);
    const DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), size);
    value.resize(length < size ? length : 0);
    return narrow(value);
}

std::vector<std::string> programArguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return {};
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return args;
}

std::string programFile(const char*) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            return textOf(std::filesystem::path(name));
        }
        name.resize(name.size() * 2);
    }
}

namespace {

UINT g_consoleCodePage = 0;

void restoreConsole() {
    if (g_consoleCodePage != 0) ::SetConsoleOutputCP(g_consoleCodePage);
}

}  // namespace

void setUpStandardStreams() {
    // The same bytes as elsewhere: "\n" stays "\n", in files, pipes and the console alike.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows what is written in its output code page: UTF-8 for as long as the program runs.
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
                         ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode);
    if (console && ::GetConsoleOutputCP() != CP_UTF8) {
        g_consoleCodePage = ::GetConsoleOutputCP();
        ::SetConsoleOutputCP(CP_UTF8);
        std::atexit(restoreConsole);
    }
}

}  // namespace kmr::platform
