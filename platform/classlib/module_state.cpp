#include "platform/classlib/module_state.h"

#include <atomic>

namespace {

std::atomic<HINSTANCE> g_instance{nullptr};
std::atomic<HINSTANCE> g_resource{nullptr};

HINSTANCE OrProgramModule(HINSTANCE handle)
{
    return handle != nullptr ? handle : GetModuleHandleA(nullptr);
}

}  // namespace

HINSTANCE AfxGetInstanceHandle()
{
    return OrProgramModule(g_instance.load());
}

void AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_instance.store(hInstance);
}

HINSTANCE AfxGetResourceHandle()
{
    return OrProgramModule(g_resource.load());
}

void AfxSetResourceHandle(HINSTANCE hResource)
{
    g_resource.store(hResource);
}
