#include "tests/support/gtest.h"

#include "tests/support/mutation_harness.h"

#include <windows.h>

#include <vector>

#include "codecs/xmemfile.h"
#include "platform/native/native_begin.h"
#include <malloc.h>
#include "platform/native/native_end.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/test_files.h"

// AddressSanitizer's count of the bytes allocated, when the program runs
// under it.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace codectest {

namespace {

uint32_t NextRandom(uint32_t& state)
{
    // xorshift32: small, seeded and the same everywhere.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

uint32_t Below(uint32_t& state, uint32_t limit)
{
    return limit ? NextRandom(state) % limit : 0;
}

const uint32_t kExtremes[] = { 0u, 1u, 2u, 0x7Fu, 0x80u, 0xFFu, 0x7FFFu, 0x8000u, 0xFFFFu,
                               0x10000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu };

// Size fields live mostly near the start of a file: pick offsets there
// more often than elsewhere.
size_t FieldOffset(const std::string& bytes, uint32_t& state)
{
    size_t head = bytes.size() < 128 ? bytes.size() : 128;
    if (Below(state, 4) != 0 && head > 0)
        return Below(state, (uint32_t)head);
    return Below(state, (uint32_t)bytes.size());
}

void SetField(std::string& bytes, size_t offset, uint32_t value, int width, bool bigEndian)
{
    for (int i = 0; i < width && offset + i < bytes.size(); ++i) {
        int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        bytes[offset + i] = (char)(value >> shift);
    }
}

struct Watchdog {
    volatile LONG caseNumber = 0;
    volatile LONG finished = 0;
    CRITICAL_SECTION bytesLock;     // over caseBytes while it changes
    std::string caseBytes;          // of the case running
    uint32_t seed = 0;
    unsigned limitMs = 0;
};

// Keeps the bytes of a case that broke the contract beside the program, so
// that it can become a test's fixture; returns the file's name.
std::string KeepCaseBytes(const std::string& bytes, uint32_t seed, long caseNumber)
{
    std::string name = "mutation-seed" + std::to_string(seed) + "-case" +
                       std::to_string(caseNumber) + ".bin";
    return testfiles::WriteFileBytes(name, bytes) ? name : "(not kept)";
}

DWORD WINAPI WatchdogThread(void* parameter)
{
    Watchdog* dog = (Watchdog*)parameter;
    LONG seen = -1;
    DWORD since = GetTickCount();
    while (!dog->finished) {
        Sleep(100);
        LONG now = dog->caseNumber;
        if (now != seen) {
            seen = now;
            since = GetTickCount();
        } else if (GetTickCount() - since > dog->limitMs) {
            EnterCriticalSection(&dog->bytesLock);
            std::string kept = KeepCaseBytes(dog->caseBytes, dog->seed, now);
            LeaveCriticalSection(&dog->bytesLock);
            fprintf(stderr, "mutation case %ld (seed %u) hangs; its bytes: %s\n", (long)now,
                    dog->seed, kept.c_str());
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

// Cases before the leak count starts: the first ones fill the caches of
// fonts and the like.
const int kWarmUpCases = 32;
const long kGdiObjectsAllowed = 4;
const int64_t kHeapBytesAllowed = 8 << 20;

}  // namespace

long GdiObjectsFree()
{
    // Regions until the table is full, then none again.
    std::vector<HRGN> regions;
    while (HRGN region = CreateRectRgn(0, 0, 1, 1))
        regions.push_back(region);
    for (HRGN region : regions)
        DeleteObject(region);
    return (long)regions.size();
}

int64_t HeapBytesInUse()
{
    if (__sanitizer_get_current_allocated_bytes)
        return (int64_t)__sanitizer_get_current_allocated_bytes();
    return (int64_t)mallinfo2().uordblks;
}

MutationOptions SeriesOptions(uint32_t seed, int cases, unsigned budgetMs)
{
    MutationOptions options;
    options.seed = seed;
    options.cases = cases;
    options.budgetMs = budgetMs;
    if (int oneOff = testrun::OneOffMutationCases()) {
        options.cases = oneOff;
        options.budgetMs = 0xFFFFFFFFu;
        options.slowCaseMs = testrun::kOneOffSlowCaseMs;
        options.checkLeaks = true;
    }
    options.firstCase = testrun::FirstMutationCase();
    options.trace = testrun::TraceMutationCases();
    return options;
}

DecodeCall DecodeWithType(DWORD type)
{
    return [type](const std::string& bytes, CxImage& image) {
        CxMemFile stream((BYTE*)bytes.data(), (DWORD)bytes.size());
        return image.Decode(&stream, type);
    };
}

std::string Mutate(const std::string& valid, uint32_t& state)
{
    std::string bytes = valid;
    int steps = 1 + (int)Below(state, 3);
    for (int step = 0; step < steps && !bytes.empty(); ++step) {
        switch (Below(state, 6)) {
        case 0: {  // flip a few bits
            int flips = 1 + (int)Below(state, 8);
            for (int i = 0; i < flips; ++i)
                bytes[Below(state, (uint32_t)bytes.size())] ^= (char)(1 << Below(state, 8));
            break;
        }
        case 1:  // one byte set to anything
            bytes[FieldOffset(bytes, state)] = (char)NextRandom(state);
            break;
        case 2:  // truncation
            bytes.resize(Below(state, (uint32_t)bytes.size()));
            break;
        case 3: {  // a 16- or 32-bit field set to an extreme
            uint32_t value = kExtremes[Below(state, sizeof(kExtremes) / sizeof(kExtremes[0]))];
            SetField(bytes, FieldOffset(bytes, state), value, Below(state, 2) ? 4 : 2,
                     Below(state, 2) != 0);
            break;
        }
        case 4: {  // bytes inserted
            std::string noise(1 + Below(state, 16), '\0');
            for (char& c : noise)
                c = (char)NextRandom(state);
            bytes.insert(Below(state, (uint32_t)bytes.size() + 1), noise);
            break;
        }
        default: {  // bytes removed
            size_t at = Below(state, (uint32_t)bytes.size());
            bytes.erase(at, 1 + Below(state, 16));
            break;
        }
        }
    }
    return bytes;
}

std::string CheckDecodeResult(bool decoded, const CxImage& image)
{
    if (!decoded)
        return image.GetLastError()[0] ? std::string() : "false without a message";
    if (!image.IsValid())
        return "true without an image";
    DWORD width = image.GetWidth();
    DWORD height = image.GetHeight();
    WORD bpp = image.GetBpp();
    if (width == 0 || height == 0)
        return "true with an empty size";
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
        return "true with a depth of " + std::to_string(bpp);
    DWORD effWidth = (DWORD)((((uint64_t)width * bpp + 31) >> 5) << 2);
    if (image.GetEffWidth() != effWidth)
        return "effective width does not match the size";
    DWORD colors = bpp <= 8 ? (1u << bpp) : 0;
    if (image.GetNumColors() != colors)
        return "palette size does not match the depth";
    const BITMAPINFOHEADER* blockHeader = (const BITMAPINFOHEADER*)image.GetDIB();
    if (blockHeader->biWidth != (LONG)width || blockHeader->biHeight != (LONG)height ||
        blockHeader->biBitCount != bpp)
        return "DIB header does not match the image";
    // Touch both ends of the block and of the planes, so that a block
    // shorter than the image says shows up under AddressSanitizer.
    unsigned sum = 0;
    const BYTE* block = (const BYTE*)image.GetDIB();
    sum += block[0] + block[image.GetSize() - 1];
    size_t planeBytes = (size_t)width * height;
    if (const BYTE* alpha = image.AlphaGetPointer())
        sum += alpha[0] + alpha[planeBytes - 1];
    if (const BYTE* selection = image.SelectionGetPointer())
        sum += selection[0] + selection[planeBytes - 1];
    RGBQUAD corner = image.GetPixelColor(width - 1, height - 1, true);
    sum += corner.rgbRed + image.GetPixelColor(0, 0, true).rgbRed;
    return sum == 0xFFFFFFFFu ? "unlikely checksum" : std::string();
}

CaseCall DecodeCase(const DecodeCall& decode)
{
    return [decode](const std::string& bytes, bool& decoded) {
        CxImage image;
        decoded = decode(bytes, image);
        return CheckDecodeResult(decoded, image);
    };
}

MutationReport RunMutations(const std::string& valid, const DecodeCall& decode,
                            const MutationOptions& options)
{
    return RunCases(valid, DecodeCase(decode), options);
}

MutationReport RunCases(const std::string& valid, const CaseCall& call,
                        const MutationOptions& options)
{
    MutationReport report;
    Watchdog dog;
    dog.seed = options.seed;
    dog.limitMs = options.hangLimitMs;
    InitializeCriticalSection(&dog.bytesLock);
    HANDLE watcher = CreateThread(NULL, 0, WatchdogThread, &dog, 0, NULL);

    uint32_t state = options.seed ? options.seed : 1;
    DWORD start = GetTickCount();
    long gdiFree = 0;
    int64_t heapBytes = 0;
    for (int i = 0; i < options.cases; ++i) {
        if (GetTickCount() - start > options.budgetMs)
            break;
        std::string bytes = Mutate(valid, state);
        if (i < options.firstCase)
            continue;
        if (options.checkLeaks && i == options.firstCase + kWarmUpCases) {
            gdiFree = GdiObjectsFree();
            heapBytes = HeapBytesInUse();
        }
        if (options.trace) {
            fprintf(stderr, "mutation case %d (seed %u)\n", i, options.seed);
            fflush(stderr);
        }
        EnterCriticalSection(&dog.bytesLock);
        dog.caseBytes = bytes;
        InterlockedExchange(&dog.caseNumber, i);
        LeaveCriticalSection(&dog.bytesLock);
        bool decoded = false;
        DWORD caseStart = GetTickCount();
        std::string problem = call(bytes, decoded);
        unsigned took = GetTickCount() - caseStart;
        if (problem.empty() && options.slowCaseMs && took > options.slowCaseMs)
            problem = "took " + std::to_string(took) + " ms";
        if (took > report.slowestMs || report.slowestCase < 0) {
            report.slowestMs = took;
            report.slowestCase = i;
        }
        ++report.casesRun;
        if (decoded)
            ++report.decoded;
        if (!problem.empty() && report.problems.size() < 2000)
            report.problems += "case " + std::to_string(i) + " (seed " +
                               std::to_string(options.seed) + "): " + problem + ", bytes " +
                               KeepCaseBytes(bytes, options.seed, i) + "\n";
    }
    if (options.checkLeaks && report.casesRun > kWarmUpCases) {
        report.gdiObjectsLeft = gdiFree - GdiObjectsFree();
        report.heapBytesLeft = HeapBytesInUse() - heapBytes;
        if (report.gdiObjectsLeft > kGdiObjectsAllowed || report.heapBytesLeft > kHeapBytesAllowed)
            report.problems += "the cases left " + std::to_string(report.gdiObjectsLeft) +
                               " GDI objects and " + std::to_string(report.heapBytesLeft) +
                               " heap bytes behind\n";
    }
    InterlockedExchange(&dog.finished, 1);
    if (watcher) {
        WaitForSingleObject(watcher, 5000);
        CloseHandle(watcher);
    }
    DeleteCriticalSection(&dog.bytesLock);
    return report;
}

void ExpectCasesKeepTheContract(const std::string& valid, const CaseCall& call,
                                const std::string& name, uint32_t seed, int cases,
                                unsigned budgetMs)
{
    ExpectSeriesKeepsTheContract(valid, call, name, SeriesOptions(seed, cases, budgetMs));
}

void ExpectSeriesKeepsTheContract(const std::string& valid, const CaseCall& call,
                                  const std::string& name, const MutationOptions& options)
{
    ASSERT_FALSE(valid.empty());
    uint32_t seed = options.seed;
    MutationReport report = RunCases(valid, call, options);
    EXPECT_TRUE(report.problems.empty()) << report.problems;
    EXPECT_GT(report.casesRun, 0);
    printf("%s, seed %u: %d cases, %d decoded, slowest %u ms (case %d)", name.c_str(), seed,
           report.casesRun, report.decoded, report.slowestMs, report.slowestCase);
    if (options.checkLeaks)
        printf(", left %ld GDI objects and %lld heap bytes", report.gdiObjectsLeft,
               (long long)report.heapBytesLeft);
    printf("\n");
    fflush(stdout);
}

void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed, int cases,
                                    unsigned budgetMs)
{
    ExpectCasesKeepTheContract(valid, DecodeCase(DecodeWithType(type)),
                               "format " + std::to_string(type), seed, cases, budgetMs);
}

}  // namespace codectest
