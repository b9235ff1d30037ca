// Gives one test private registry hives: while a RegistrySandbox lives,
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this process are empty keys
// of their own (RegOverridePredefKey), so that test programs running side
// by side in one prefix never see each other's settings. The keys are
// deleted when the sandbox ends.
#pragma once
#include <windows.h>

class RegistrySandbox
{
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // True when both hives were redirected.
    bool IsActive() const { return m_active; }

private:
    char m_root[96];
    HKEY m_user;
    HKEY m_machine;
    bool m_active;
};
