// The start-up check for a newer version of the program.
#pragma once

class CUpdateChecker {
public:
    CUpdateChecker();
    ~CUpdateChecker();

    // Starts the check in the background; returns at once.
    void StartUpdateCheck();
};
