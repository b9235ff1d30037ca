#include "core/res_string.h"

#include "platform/classlib/module_state.h"

namespace {

const int kStringBufferSize = 2048;

}  // namespace

CString LoadResString(UINT id)
{
    char buffer[kStringBufferSize];
    int length = LoadStringA(AfxGetResourceHandle(), id, buffer, kStringBufferSize);
    if (length <= 0)
        return CString();
    return CString(buffer, length);
}
