#include "core/size_text.h"

void FormatFileSize(int64_t size, CString& text)
{
    if (size <= 1024) {
        text.Format("%lld Bytes", (long long)size);
        return;
    }
    double kilobytes = size / 1024.0;
    if (kilobytes <= 1024) {
        text.Format("%-.2f KB", kilobytes);
        return;
    }
    double megabytes = kilobytes / 1024;
    if (megabytes <= 1024)
        text.Format("%-.2f MB", megabytes);
    else
        text.Format("%-.2f GB", megabytes / 1024);
}
