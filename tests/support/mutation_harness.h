// Seeded mutation testing of image decoders: bit flips, byte changes,
// truncations, insertions and size fields set to extremes, applied to a
// valid file. Every decode must return false with a message, or true with a
// consistent image; a case that runs longer than the hang limit ends the
// program with a message naming the seed and case.
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

struct MutationOptions {
    uint32_t seed = 1;
    int cases = 2000;
    unsigned budgetMs = 15000;     // stop early when the run takes longer
    // One case longer than this: the program ends. A valid mutation may
    // ask for a 2 GB image that takes 15 s to fill under AddressSanitizer,
    // longer on a loaded machine; a real hang is caught all the same.
    unsigned hangLimitMs = 60000;
};

struct MutationReport {
    int casesRun = 0;
    int decoded = 0;        // cases that returned true
    std::string problems;   // empty when every case kept the contract
};

// CxImage::Decode through a memory stream with the given format id.
DecodeCall DecodeWithType(DWORD type);

// One mutation of `valid` (deterministic for a given generator state).
std::string Mutate(const std::string& valid, uint32_t& state);

// The contract for a decode result; returns an empty text when it holds.
std::string CheckDecodeResult(bool decoded, const CxImage& image);

MutationReport RunMutations(const std::string& valid, const DecodeCall& decode,
                            const MutationOptions& options);

// A test step: `cases` mutations of `valid` decoded with the format id keep
// the contract, within budgetMs; prints how many cases ran and decoded.
void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed, int cases,
                                    unsigned budgetMs);

}  // namespace codectest
