// The update service's address in the application's test programs: they
// link this in place of the program's own, so that no test ever asks the
// real service. Without a server of the test's own it is a loopback
// address where nothing listens.
#pragma once
#include <string>

namespace apptest {

void SetUpdateServiceAddress(const std::string& address);

}  // namespace apptest
