// Byte counts as the file lists show them.
#pragma once
#include <stdint.h>

#include "platform/classlib/cstring.h"

// Up to 1024 (and every negative size): "<n> Bytes"; above that the size
// in KB, MB or GB with two decimals ("1.00 KB").
void FormatFileSize(int64_t size, CString& text);
