// Runs the application object's start-up and shutdown inside a test, on the
// test's thread, in the test prefix's real registry and windows.
#pragma once
#include <windows.h>

#include <string>

#include "app/quorvantix_app.h"

namespace apptest {

// Deletes the program's whole registry root.
void ClearProductKey();
// Creates root + subkey and sets a DWORD value in it.
void SetDword(const std::string& subkey, const char* name, DWORD value);
bool ValueExists(const std::string& subkey, const char* name);
bool KeyExists(const std::string& subkey);

// Ends what InitInstance started: ExitInstance, then the frames' windows,
// and puts the application state back to its first state.
int StopApplication(CQuorvantixApp& app);

}  // namespace apptest
