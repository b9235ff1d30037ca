#include "tests/support/mutation_cases.h"

#include <stdlib.h>

namespace testrun {

int OneOffMutationCases()
{
    const char* text = getenv("HARBECK_MUTATION_CASES");
    int cases = text ? atoi(text) : 0;
    return cases > 0 ? cases : 0;
}

}  // namespace testrun
