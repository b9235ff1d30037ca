#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_reader.h"

#include <string.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/base/byte_reader.h"
#include "platform/zrio/dwg_preview.h"
#include "platform/zrio/dwg_worker.h"

namespace zr {

namespace {

// Bounds of one read that grow with the file: LibreDWG and the DXF writing
// take well under a second a megabyte, and the DXF is rarely more than
// twenty times the file.
const int kBaseTimeoutMs = 60 * 1000;
const int kTimeoutMsPerMegabyte = 10 * 1000;
const int kLongestTimeoutMs = 30 * 60 * 1000;
const size_t kBaseAnswerBytes = size_t(256) << 20;
const size_t kAnswerBytesPerByte = 100;
const size_t kLargestAnswerBytes = size_t(0x7FFFFFFF);
// A drawing handed over in fewer bytes than this is parsed by the calling
// thread alone: starting the threads that parse ahead takes longer than
// the parse of such a drawing (a binary DXF of 1 MB parses in some 6 ms).
const size_t kParallelParseBytes = size_t(4) << 20;

// The file header of 2004 and later keeps a 32-bit word of security flags
// at 0x18: 1 = the data sections are encrypted, 2 = the summary and the
// preview are.
const size_t kSecurityFlagsAt = 0x18;
const uint32_t kEncryptedSections = 0x1 | 0x2;
const int kFirstVersionWithSecurity = 1018;

std::atomic<int> g_timeoutMs{0};
std::atomic<size_t> g_answerBytes{0};
std::atomic<bool> g_answersAsText{false};

int TimeoutFor(size_t size) {
  if (int fixed = g_timeoutMs.load()) return fixed;
  size_t ms = size_t(kBaseTimeoutMs) + size / (1 << 20) * size_t(kTimeoutMsPerMegabyte);
  return int(ms < size_t(kLongestTimeoutMs) ? ms : size_t(kLongestTimeoutMs));
}

size_t AnswerBoundFor(size_t size) {
  if (size_t fixed = g_answerBytes.load()) return fixed;
  if (size > (kLargestAnswerBytes - kBaseAnswerBytes) / kAnswerBytesPerByte) return kLargestAnswerBytes;
  return kBaseAnswerBytes + size * kAnswerBytesPerByte;
}

// The worker's answer: messages of a kind byte, a 32-bit length and the
// bytes, read as they arrive. The bytes stay where they arrived: the
// drawing is parsed from there.
class Answer {
 public:
  Answer(size_t bound, const LoadControl& control) : m_bound(bound), m_control(control) {}

  ChildProcess::Take Take(const char* bytes, size_t n) {
    if (m_received + n > m_bound) return ChildProcess::Take::Refuse;
    m_received += n;
    m_bytes.append(bytes, n);
    for (;;) {
      size_t left = m_bytes.size() - m_at;
      if (left < kHeadBytes) return ChildProcess::Take::More;
      char kind = m_bytes[m_at];
      uint32_t length = GetU32LE(reinterpret_cast<const uint8_t*>(m_bytes.data() + m_at + 1));
      if (length > m_bound) return ChildProcess::Take::Refuse;
      if (left - kHeadBytes < length) {
        m_bytes.reserve(m_at + kHeadBytes + length);
        return ChildProcess::Take::More;
      }
      const char* payload = m_bytes.data() + m_at + kHeadBytes;
      m_at += kHeadBytes + length;
      if (kind == 'D') {
        // The drawing is the last message: the worker then waits for a file.
        if (m_at != m_bytes.size()) return ChildProcess::Take::Refuse;
        m_dxfAt = size_t(payload - m_bytes.data());
        m_dxf = true;
        return ChildProcess::Take::Done;
      }
      if (kind == 'E') {
        m_failed = true;
        return ChildProcess::Take::Done;
      }
      if (kind == 'L') {
        m_leftOut.assign(payload, length);
        continue;
      }
      if (kind != 'P' || length != 1) return ChildProcess::Take::Refuse;
      if (m_control.progress) m_control.progress(double(uint8_t(payload[0]) % 101) / 2);
    }
  }

  bool hasDxf() const { return m_dxf && !m_failed; }
  bool receivedAny() const { return m_received > 0; }
  // The drawing as binary DXF (or DXF text).
  const char* dxf() const { return m_bytes.data() + m_dxfAt; }
  size_t dxfSize() const { return m_bytes.size() - m_dxfAt; }
  // What the drawing holds that its DXF leaves out: lines of a kind and its
  // count.
  const std::string& leftOut() const { return m_leftOut; }

 private:
  static const size_t kHeadBytes = 5;

  size_t m_bound;
  const LoadControl& m_control;
  size_t m_received = 0;
  std::string m_bytes;  // as received
  size_t m_at = 0;      // where the first message not yet taken starts
  size_t m_dxfAt = 0;
  std::string m_leftOut;
  bool m_dxf = false;
  bool m_failed = false;
};

// Each kind the worker left out, with its count, goes to the debug output.
void LogLeftOut(const std::string& lines) {
  for (size_t at = 0, end; at < lines.size(); at = end + 1) {
    end = lines.find('\n', at);
    if (end == std::string::npos) end = lines.size();
    size_t blank = lines.rfind(' ', end);
    if (blank == std::string::npos || blank < at) continue;
    std::string kind = lines.substr(at, blank - at), count = lines.substr(blank + 1, end - blank - 1);
    OutputDebugStringA(("zrio: DWG entities left out (LibreDWG gives no data for them): " + count + " " + kind + "\n").c_str());
  }
}

}  // namespace

DwgReadResult ReadDwg(const char* data, size_t size, bool thumbnail, Database& db,
                      const LoadControl& control) {
  // The request's length field holds 32 bits.
  if (size > 0xFFFFFFFFu) return DwgReadResult::Failed;
  // 'F' asks for the drawing as binary DXF, 'T' as DXF text.
  char head[5] = {g_answersAsText.load() ? 'T' : 'F'};
  PutU32LE(reinterpret_cast<uint8_t*>(head + 1), uint32_t(size));
  bool stopped = false;
  auto stop = [&]() { return stopped = control.aborted && control.aborted(); };
  std::unique_ptr<Answer> answer;
  ChildProcess::Outcome outcome;
  for (int attempt = 0;; ++attempt) {
    std::string problem;
    std::unique_ptr<DwgWorker> worker = TakeDwgWorker(thumbnail, &problem);
    if (!worker) {
      OutputDebugStringA(("zrio: " + problem + "\n").c_str());
      return DwgReadResult::Unavailable;
    }
    bool kept = worker->served > 0;
    answer.reset(new Answer(AnswerBoundFor(size), control));
    auto take = [&](const char* bytes, size_t n) { return answer->Take(bytes, n); };
    outcome = worker->process.Exchange({{head, sizeof head}, {data, size}}, TimeoutFor(size), stop, take);
    GiveBackDwgWorker(std::move(worker), outcome == ChildProcess::Outcome::Done && answer->hasDxf());
    // A kept worker that ended without a word may have ended while it
    // waited (killed from outside, say): the file gets one fresh worker.
    bool ended = outcome == ChildProcess::Outcome::Closed || outcome == ChildProcess::Outcome::Broken;
    if (ended && kept && !answer->receivedAny() && attempt == 0) continue;
    break;
  }
  if (stopped || outcome == ChildProcess::Outcome::Stopped) return DwgReadResult::Aborted;
  if (outcome != ChildProcess::Outcome::Done || !answer->hasDxf()) return DwgReadResult::Failed;
  LogLeftOut(answer->leftOut());

  if (control.progress) control.progress(50);
  LoadControl second;
  second.aborted = control.aborted;
  second.pieces = control.pieces;
  if (control.progress) second.progress = [&control](double percent) { control.progress(50 + percent / 2); };
  if (answer->dxfSize() < kParallelParseBytes) second.pieces.threads = 1;
  LoadResult result = ReadDxf(answer->dxf(), answer->dxfSize(), db, second);
  if (result == LoadResult::Aborted) return DwgReadResult::Aborted;
  return result == LoadResult::Ok ? DwgReadResult::Ok : DwgReadResult::Failed;
}

bool IsPasswordProtectedDwg(const char* data, size_t size) {
  if (AcadVersionNumber(DwgVersionText(data, size)) < kFirstVersionWithSecurity) return false;
  CByteReader header(reinterpret_cast<const uint8_t*>(data), size);
  header.Seek(kSecurityFlagsAt);
  uint32_t flags = header.U32LE();
  return header.Ok() && (flags & kEncryptedSections) != 0;
}

void SetDwgReaderBounds(int timeoutMs, size_t answerBytes) {
  g_timeoutMs = timeoutMs;
  g_answerBytes = answerBytes;
}

void SetDwgAnswersAsText(bool text) { g_answersAsText = text; }

}  // namespace zr
