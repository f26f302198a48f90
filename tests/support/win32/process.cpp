// Runs a program on Windows with pipes for its standard streams.
#include "support/process.h"

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring Wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// One argument as the C runtime splits a command line again: quoted, with
// backslashes doubled only where a quote follows them.
void AppendArgument(std::wstring& line, const std::wstring& arg) {
    if (!line.empty()) line += L' ';
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            backslashes++;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// This process's environment with the given NAME=value entries put in.
std::wstring Environment(const std::vector<std::string>& extra) {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        std::wstring text = entry;
        bool replaced = false;
        for (const std::string& e : extra) {
            std::wstring name = Wide(e.substr(0, e.find('=') + 1));
            replaced = replaced || _wcsnicmp(text.c_str(), name.c_str(), name.size()) == 0;
        }
        if (!replaced) block += text + L'\0';
    }
    FreeEnvironmentStringsW(strings);
    for (const std::string& e : extra) block += Wide(e) + L'\0';
    return block + L'\0';
}

void ReadAll(HANDLE pipe, std::string* into) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         int timeoutSeconds, const std::vector<std::string>& environment) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in[2], out[2], err[2];  // [0] read end, [1] write end
    if (!CreatePipe(&in[0], &in[1], &inherit, 1 << 16)) return result;
    CreatePipe(&out[0], &out[1], &inherit, 0);
    CreatePipe(&err[0], &err[1], &inherit, 0);
    for (HANDLE mine : {in[1], out[0], err[0]}) SetHandleInformation(mine, HANDLE_FLAG_INHERIT, 0);

    std::wstring line;
    for (const std::string& a : argv) AppendArgument(line, Wide(a));
    std::wstring env = Environment(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in[0];
    startup.hStdOutput = out[1];
    startup.hStdError = err[1];
    PROCESS_INFORMATION child{};
    bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                       env.data(), nullptr, &startup, &child);
    for (HANDLE theirs : {in[0], out[1], err[1]}) CloseHandle(theirs);
    if (started) {
        DWORD written = 0;
        if (!input.empty())
            WriteFile(in[1], input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    }
    CloseHandle(in[1]);
    // Both streams at once, so a child filling one pipe never waits on us,
    // and the clock runs on the child, so one that hangs is ended.
    std::thread outReader(ReadAll, out[0], &result.out);
    std::thread errReader(ReadAll, err[0], &result.err);
    if (started) {
        if (WaitForSingleObject(child.hProcess, timeoutSeconds * 1000) != WAIT_OBJECT_0) {
            TerminateProcess(child.hProcess, 128 + 9);
            WaitForSingleObject(child.hProcess, INFINITE);
        }
        DWORD code = 0;
        GetExitCodeProcess(child.hProcess, &code);
        // As a POSIX parent sees it: ExitProcess(-1) arrives as 255.
        result.status = static_cast<int>(code & 0xFF);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    outReader.join();
    errReader.join();
    CloseHandle(out[0]);
    CloseHandle(err[0]);
    return result;
}

// Windows has no root that file attributes cannot refuse.
int RunUnprivileged(const std::function<int()>& work) {
    return work();
}
