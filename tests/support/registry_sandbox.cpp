#include "tests/support/registry_sandbox.h"

namespace {

HKEY CreateScratchKey(const char* root, const char* name)
{
    char path[160];
    wsprintfA(path, "%s\\%s", root, name);
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                        &key, NULL) != ERROR_SUCCESS)
        return NULL;
    return key;
}

}  // namespace

RegistrySandbox::RegistrySandbox() : m_user(NULL), m_machine(NULL), m_active(false)
{
    static LONG counter = 0;
    wsprintfA(m_root, "Software\\HarbeckTestSandbox\\%lu-%ld", GetCurrentProcessId(),
              InterlockedIncrement(&counter));
    m_user = CreateScratchKey(m_root, "user");
    m_machine = CreateScratchKey(m_root, "machine");
    m_active = m_user && m_machine &&
               RegOverridePredefKey(HKEY_CURRENT_USER, m_user) == ERROR_SUCCESS &&
               RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_machine) == ERROR_SUCCESS;
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
    if (m_user)
        RegCloseKey(m_user);
    if (m_machine)
        RegCloseKey(m_machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_root);
}
