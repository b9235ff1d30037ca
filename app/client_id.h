// The id that tells the update service one installation from another.
#pragma once
#include <string>

// A new random UUID as text: 36 characters, lower-case hex digits in groups
// of 8-4-4-4-12 joined by '-'. False when the system gives no randomness.
bool MakeClientId(std::string& id);
