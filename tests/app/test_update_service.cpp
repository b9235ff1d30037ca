#include "tests/app/test_update_service.h"

#include "app/update_service.h"

namespace {

// Port 1 of the loopback address: the connection is refused at once.
std::string g_address = "http://127.0.0.1:1/";

}  // namespace

namespace apptest {

void SetUpdateServiceAddress(const std::string& address)
{
    g_address = address;
}

}  // namespace apptest

const char* UpdateServiceHost()
{
    return g_address.c_str();
}
