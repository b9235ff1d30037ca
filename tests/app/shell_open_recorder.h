// While a recorder lives, opening a web address, a mail link or a help file
// through the shell in the test prefix writes what was opened into a file
// instead of starting the browser, the mail program or the help viewer.
#pragma once
#include <string>
#include <vector>

namespace apptest {

class ShellOpenRecorder {
public:
    ShellOpenRecorder();
    ~ShellOpenRecorder();
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    // Waits until count things were opened and the last opener is done;
    // false after the timeout. Open one thing at a time: the writes of two
    // at once may collide.
    bool WaitForOpened(size_t count, unsigned timeoutMs);
    // What was opened, in order.
    std::vector<std::string> Opened() const;

private:
    struct SavedCommand {
        std::string key;
        std::string command;
    };
    std::string m_log;
    std::vector<SavedCommand> m_saved;
};

}  // namespace apptest
