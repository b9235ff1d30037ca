// The size of a large one-off mutation run. HARBECK_MUTATION_CASES=<n> in
// the environment asks every mutation series for n cases, without its time
// budget; a case slower than kOneOffSlowCaseMs then counts as a problem.
// CI leaves it unset and keeps each series' own small count.
#pragma once

namespace testrun {

const unsigned kOneOffSlowCaseMs = 5000;

// The cases asked for, or 0 when no one-off run was asked for.
int OneOffMutationCases();

}  // namespace testrun
