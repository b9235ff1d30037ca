// The end-user agreement, line by line.
#pragma once

extern const char* const kLicenseLines[];
extern const int kLicenseLineCount;
