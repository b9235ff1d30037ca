// Opening web addresses, mail links and files with the programs the system
// has for them.
#pragma once

// ShellExecute "open" of the address, owned by the calling thread's main
// window, shown normally. The result is not looked at.
void OpenWithShell(const char* address);
