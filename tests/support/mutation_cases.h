// The size of a large one-off mutation run. HARBECK_MUTATION_CASES=<n> in
// the environment asks every mutation series for n cases, without its time
// budget; a case slower than kOneOffSlowCaseMs then counts as a problem.
// CI leaves it unset and keeps each series' own small count.
#pragma once

namespace testrun {

const unsigned kOneOffSlowCaseMs = 5000;

// The cases asked for, or 0 when no one-off run was asked for.
int OneOffMutationCases();

// HARBECK_MUTATION_FROM=<n>: the first case a series runs (the ones
// before it are made, so that every case stays the same, but not run), to
// replay the window of cases before a failure; 0 when unset.
int FirstMutationCase();

// HARBECK_MUTATION_TRACE=1: every case's number goes to the error output
// before it runs, so that a case that brings the program down is known.
bool TraceMutationCases();

}  // namespace testrun
