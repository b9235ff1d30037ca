#include "tests/app/shell_open_recorder.h"

#include <windows.h>

#include "tests/support/test_files.h"

namespace apptest {

namespace {

const char* const kOpenCommandKeys[] = {
    "http\\shell\\open\\command",
    "mailto\\shell\\open\\command",
    "chm.file\\shell\\open\\command",
};

std::string ReadDefaultValue(const char* key)
{
    char value[1024] = {};
    LONG size = sizeof(value) - 1;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

void WriteDefaultValue(const std::string& key, const std::string& value)
{
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), (DWORD)value.size());
}

// The line without the blanks, quotes and line end around it.
std::string Trimmed(const std::string& line)
{
    const char kAround[] = " \"\r";
    size_t first = line.find_first_not_of(kAround);
    if (first == std::string::npos)
        return std::string();
    return line.substr(first, line.find_last_not_of(kAround) - first + 1);
}

// The file as it is now, read without keeping a writer out.
std::string ReadSharing(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char block[4096];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof(block), &read, NULL) && read > 0)
        bytes.append(block, read);
    CloseHandle(file);
    return bytes;
}

// True when no process has the file open: the last writer is done with it.
bool IsClosedByAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

}  // namespace

ShellOpenRecorder::ShellOpenRecorder()
    : m_log(testfiles::MakeScratchFolder("shell_open") + "\\opened.txt")
{
    std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + m_log + "\"";
    for (const char* key : kOpenCommandKeys) {
        m_saved.push_back({key, ReadDefaultValue(key)});
        WriteDefaultValue(key, command);
    }
}

ShellOpenRecorder::~ShellOpenRecorder()
{
    for (const SavedCommand& saved : m_saved)
        WriteDefaultValue(saved.key, saved.command);
}

bool ShellOpenRecorder::WaitForOpened(size_t count, unsigned timeoutMs)
{
    // The opening program writes from a process of its own; the next one
    // can append only once it has closed the file.
    DWORD start = GetTickCount();
    while (Opened().size() < count || !IsClosedByAll(m_log)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

std::vector<std::string> ShellOpenRecorder::Opened() const
{
    std::vector<std::string> lines;
    std::string bytes = ReadSharing(m_log);
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = Trimmed(bytes.substr(start, end - start));
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

}  // namespace apptest
