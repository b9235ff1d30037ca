// Seeded mutation testing of image decoders: bit flips, byte changes,
// truncations, insertions and size fields set to extremes, applied to a
// valid file. Every decode must return false with a message, or true with a
// consistent image; a case that runs longer than the hang limit ends the
// program with a message naming the seed and case.
//
// The environment variable HARBECK_MUTATION_CASES=<n> turns every series
// into a large one-off run: n cases each, no time budget, a case slower
// than five seconds counts as a problem, and so do GDI objects or heap the
// cases leave behind. Each series prints its figures: cases run, decoded,
// the slowest case, and what was left behind when that was counted.
//
//   codectest::MutationOptions options;            // seed, cases, budget
//   codectest::MutationReport report = codectest::RunMutations(
//       validBytes, codectest::DecodeWithType(CXIMAGE_FORMAT_BMP), options);
//   EXPECT_TRUE(report.problems.empty()) << report.problems;
#pragma once
#include <stdint.h>

#include <functional>
#include <string>

#include "codecs/ximage.h"

namespace codectest {

// Decodes the bytes into the (empty) image; returns the decoder's result.
typedef std::function<bool(const std::string& bytes, CxImage& image)> DecodeCall;

// One case of any reader: reads the bytes, sets `decoded` when it made a
// picture, and returns a problem text (empty when the contract held).
typedef std::function<std::string(const std::string& bytes, bool& decoded)> CaseCall;

struct MutationOptions {
    uint32_t seed = 1;
    int cases = 2000;
    unsigned budgetMs = 15000;     // stop early when the run takes longer
    // One case longer than this: the program ends.
    unsigned hangLimitMs = 60000;
    // A case longer than this is a problem (0: none is).
    unsigned slowCaseMs = 0;
    // Count the GDI objects and heap bytes the cases leave behind; more
    // than a few objects, or a growing heap, is a problem.
    bool checkLeaks = false;
    // Cases before this one are made but not run.
    int firstCase = 0;
    // Each case's number goes to the error output before it runs.
    bool trace = false;
};

struct MutationReport {
    int casesRun = 0;
    int decoded = 0;        // cases that returned true
    unsigned slowestMs = 0;
    int slowestCase = -1;
    std::string problems;   // empty when every case kept the contract
    // With checkLeaks: what the cases after the first few left behind.
    long gdiObjectsLeft = 0;
    int64_t heapBytesLeft = 0;
};

// GDI objects the process can still make (the table's free slots).
long GdiObjectsFree();
// Bytes of the C heap in use.
int64_t HeapBytesInUse();

// The options of a series of `cases` cases within budgetMs, or of the large
// one-off run that HARBECK_MUTATION_CASES asks for (from the case and with
// the trace the environment asks for).
MutationOptions SeriesOptions(uint32_t seed, int cases, unsigned budgetMs);

// CxImage::Decode through a memory stream with the given format id.
DecodeCall DecodeWithType(DWORD type);

// One mutation of `valid` (deterministic for a given generator state).
std::string Mutate(const std::string& valid, uint32_t& state);

// The contract for a decode result; returns an empty text when it holds.
std::string CheckDecodeResult(bool decoded, const CxImage& image);

// A case that runs the decode call and checks its result.
CaseCall DecodeCase(const DecodeCall& decode);

MutationReport RunMutations(const std::string& valid, const DecodeCall& decode,
                            const MutationOptions& options);
MutationReport RunCases(const std::string& valid, const CaseCall& call,
                        const MutationOptions& options);

// A test step: `cases` mutations of `valid` decoded with the format id keep
// the contract, within budgetMs; prints the series' figures.
void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed, int cases,
                                    unsigned budgetMs);
// The same for any reader; `name` names it in the figures.
void ExpectCasesKeepTheContract(const std::string& valid, const CaseCall& call,
                                const std::string& name, uint32_t seed, int cases,
                                unsigned budgetMs);
// The same with options of one's own.
void ExpectSeriesKeepsTheContract(const std::string& valid, const CaseCall& call,
                                  const std::string& name, const MutationOptions& options);

}  // namespace codectest
