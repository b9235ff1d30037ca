// The start-up check for a newer version of the program.
#pragma once

class CUpdateChecker {
public:
    CUpdateChecker();
    ~CUpdateChecker();

    // Does nothing yet: the update check is not built so far.
    void StartUpdateCheck();
};
