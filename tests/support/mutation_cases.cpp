#include "tests/support/mutation_cases.h"

#include <stdlib.h>

namespace testrun {

namespace {

int PositiveSetting(const char* name)
{
    const char* text = getenv(name);
    int value = text ? atoi(text) : 0;
    return value > 0 ? value : 0;
}

}  // namespace

int OneOffMutationCases() { return PositiveSetting("HARBECK_MUTATION_CASES"); }

int FirstMutationCase() { return PositiveSetting("HARBECK_MUTATION_FROM"); }

bool TraceMutationCases() { return PositiveSetting("HARBECK_MUTATION_TRACE") != 0; }

}  // namespace testrun
