// The library is initialised before the tests and uninitialised after them,
// while the program still runs, as the application does: the DWG workers
// kept are ended then, not at the program's end.
#include "tests/support/gtest.h"

#include "platform/zrio/zrio.h"

namespace {

class LibraryLifetime : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(1, InitDLL()); }
  void TearDown() override { UninitDLL(); }
};

testing::Environment* const g_library = testing::AddGlobalTestEnvironment(new LibraryLifetime);

}  // namespace
