#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_piece_stream.h"

#include <algorithm>

#include "platform/zrio/dxf_piece_cut.h"

namespace zr {

namespace {

const size_t kSmallestPiece = 64 * 1024;
const size_t kLargestPiece = 1024 * 1024;
// Pieces a thread parses in all, about: enough for the threads to share
// the work evenly, few enough that a piece's overhead does not count.
const size_t kPiecesPerThread = 8;
// A file is read in pieces of at most this many bytes at a time.
const DWORD kLargestRead = 1 << 24;
// More bytes read at a time while looking for where a piece may end.
const size_t kCutSearchBytes = 4096;
const unsigned kMostThreads = 32;
// Buffers of pieces and runs let go that are kept to be used again.
const size_t kSpares = 4;

unsigned Processors() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? unsigned(info.dwNumberOfProcessors) : 1;
}

}  // namespace

DxfPieceStream::DxfPieceStream(const char* data, size_t size, const PieceOptions& options)
    : m_data(data), m_inMemory(true), m_size(size) {
  m_format = DetectDxfFormat(data, size);
  choose(options);
}

DxfPieceStream::DxfPieceStream(HANDLE file, uint64_t size, const PieceOptions& options)
    : m_file(file), m_size(size) {
  choose(options);
  m_carry = takeBuffer();
  readMore(m_pieceBytes);
  m_format = DetectDxfFormat(m_carry.data(), m_carry.size());
}

DxfPieceStream::~DxfPieceStream() {
  for (const std::unique_ptr<Piece>& piece : m_pieces)
    for (const std::shared_ptr<RunJob>& job : piece->jobs) job->cancelled = true;
  m_workers.reset();
}

void DxfPieceStream::choose(const PieceOptions& options) {
  m_threads = std::min(options.threads ? options.threads : Processors(), kMostThreads);
  m_window = m_threads + 2;
  if (options.pieceBytes) {
    m_pieceBytes = options.pieceBytes;
  } else if (m_threads == 1 && m_inMemory) {
    m_pieceBytes = std::max<size_t>(size_t(m_size), 1);  // nothing to share: one piece
  } else {
    uint64_t share = m_size / (std::max(m_threads, 2u) * kPiecesPerThread);
    m_pieceBytes =
        size_t(std::min<uint64_t>(std::max<uint64_t>(share, kSmallestPiece), kLargestPiece));
  }
}

const DxfPiece* DxfPieceStream::first() {
  if (m_pieces.empty() && !cutPiece()) return nullptr;
  return m_pieces.front().get();
}

// A piece's buffer let go is read into again: its pages are there already.
PageBuffer DxfPieceStream::takeBuffer() {
  PageBuffer buffer;
  if (!m_spare.empty()) {
    buffer = std::move(m_spare.back());
    m_spare.pop_back();
  }
  buffer.resize(0);
  buffer.reserve(m_pieceBytes + 2 * kCutSearchBytes);
  return buffer;
}

bool DxfPieceStream::readMore(size_t bytes) {
  uint64_t left = m_size - (m_consumed + m_carry.size());
  size_t wanted = size_t(std::min<uint64_t>(bytes, left));
  size_t have = m_carry.size();
  m_carry.resize(have + wanted);
  size_t got = 0;
  while (got < wanted) {
    DWORD done = 0;
    DWORD chunk = DWORD(std::min<size_t>(wanted - got, kLargestRead));
    if (!ReadFile(m_file, m_carry.data() + have + got, chunk, &done, nullptr) || done == 0) {
      m_unreadable = true;
      m_carry.resize(have + got);
      return false;
    }
    got += done;
  }
  return true;
}

bool DxfPieceStream::cutPiece() {
  if (m_unreadable || (!m_pieces.empty() && m_pieces.back()->last)) return false;
  std::unique_ptr<Piece> piece(new Piece);
  piece->start = m_consumed;
  size_t from = std::max<size_t>(m_pieceBytes, m_consumed == 0 ? m_format.firstGroup + 1 : 1);
  size_t cut = kNoCut;
  if (m_inMemory) {
    size_t rest = size_t(m_size - m_consumed);
    size_t resume;
    if (rest > from) cut = NextCut(m_data + m_consumed, rest, from, m_format, &resume);
    piece->bytes = m_data + m_consumed;
    piece->size = cut == kNoCut ? rest : cut;
  } else {
    while (true) {
      bool allRead = m_consumed + m_carry.size() >= m_size;
      if (m_carry.size() > from) {
        cut =
            NextCut(m_carry.data(), m_carry.size(), std::max(from, m_cutResume), m_format, &m_cutResume);
        if (cut != kNoCut) break;
      }
      if (allRead) break;
      // The bytes searched past `from` double while no cut is found.
      size_t more = m_carry.size() <= from ? from - m_carry.size() + kCutSearchBytes
                                          : std::max(kCutSearchBytes, m_carry.size() - from);
      if (!readMore(more)) return false;
    }
    m_cutResume = 0;
    piece->owned = std::move(m_carry);
    if (cut != kNoCut) {
      m_carry = takeBuffer();
      m_carry.append(piece->owned.data() + cut, piece->owned.size() - cut);
      piece->owned.resize(cut);
    }
    piece->bytes = piece->owned.data();
    piece->size = piece->owned.size();
  }
  piece->last = cut == kNoCut;
  m_consumed += piece->size;
  m_pieces.push_back(std::move(piece));
  return true;
}

size_t DxfPieceStream::indexOf(const DxfPiece* piece) const {
  for (size_t i = m_pieces.size(); i-- > 0;)
    if (m_pieces[i].get() == piece) return i;
  return size_t(-1);
}

// Pieces are cut when only half of those ahead are left, as many at once
// as there is room for, and handed to the workers together: waking a
// worker takes as long as parsing many entities.
void DxfPieceStream::readAhead(size_t from) {
  if (!m_context) return;
  if (m_pieces.size() <= from + m_window / 2)
    while (m_pieces.size() < from + m_window && cutPiece()) {
    }
  dispatch(from);
}

void DxfPieceStream::dispatch(size_t first) {
  std::vector<std::shared_ptr<RunJob>> jobs;
  for (size_t i = first; i < m_pieces.size(); ++i) {
    Piece& piece = *m_pieces[i];
    if (!piece.jobs.empty()) continue;
    ParsedEntities storage;
    if (!m_spareRuns.empty()) {
      storage = std::move(m_spareRuns.back());
      m_spareRuns.pop_back();
    }
    piece.jobs.push_back(std::make_shared<RunJob>(piece, m_context, std::move(storage)));
    jobs.push_back(piece.jobs.back());
  }
  if (jobs.empty()) return;
  if (!m_workers) m_workers.reset(new DxfRunWorkers(m_threads - 1));
  m_workers->add(jobs);
}

void DxfPieceStream::parseAhead(const DxfPiece& current,
                                std::shared_ptr<const RunContext> context) {
  if (m_threads < 2 || m_context) return;
  size_t index = indexOf(&current);
  if (index == size_t(-1)) return;
  m_context = std::move(context);
  readAhead(index + 1);
}

// The reader has left the entities: the runs parsed further ahead are of
// no use, and the threads end (an idle thread holds a megabyte under Wine).
void DxfPieceStream::stopParsingAhead() {
  m_context.reset();
  if (!m_workers) return;
  m_workers->dropWaiting();
  for (const std::unique_ptr<Piece>& piece : m_pieces) settle(*piece, true);
  m_workers.reset();
}

bool DxfPieceStream::parsedEntityAt(const DxfPiece& piece, uint64_t start,
                                    const std::function<bool()>& aborted, EntityRun** run,
                                    ParsedEntity** parsed) {
  *parsed = nullptr;
  size_t index = indexOf(&piece);
  if (index == size_t(-1)) return true;
  for (const std::shared_ptr<RunJob>& job : m_pieces[index]->jobs) {
    if (!job->covers(start)) continue;
    if (!job->done.load(std::memory_order_acquire) && !m_workers->finish(*job, aborted))
      return false;
    if (ParsedEntity* found = job->run.at(start)) {
      *run = &job->run;
      *parsed = found;
      return true;
    }
  }
  return true;
}

const DxfPiece* DxfPieceStream::after(const DxfPiece* piece) {
  size_t index = indexOf(piece);
  if (index == size_t(-1)) return nullptr;
  if (index + 1 == m_pieces.size() && !cutPiece()) return nullptr;
  readAhead(index + 1);
  return m_pieces[index + 1].get();
}

const DxfPiece* DxfPieceStream::joined(const DxfPiece* piece, uint64_t from) {
  size_t index = indexOf(piece);
  if (index == size_t(-1)) return nullptr;
  if (index + 1 == m_pieces.size() && !cutPiece()) return nullptr;
  Piece& a = *m_pieces[index];
  Piece& b = *m_pieces[index + 1];
  settle(a, false);
  settle(b, false);
  std::unique_ptr<Piece> joint(new Piece);
  joint->start = from;
  joint->last = b.last;
  if (m_inMemory) {
    joint->bytes = m_data + from;
    joint->size = size_t(b.start + b.size - from);
  } else {
    joint->owned.reserve(size_t(b.start + b.size - from));
    joint->owned.append(a.bytes + (from - a.start), size_t(a.start + a.size - from));
    joint->owned.append(b.bytes, b.size);
    joint->bytes = joint->owned.data();
    joint->size = joint->owned.size();
  }
  joint->jobs = a.jobs;
  joint->jobs.insert(joint->jobs.end(), b.jobs.begin(), b.jobs.end());
  m_pieces[index + 1] = std::move(joint);
  return m_pieces[index + 1].get();
}

void DxfPieceStream::recordStarted(const DxfPiece* piece) {
  if (piece == m_recordPiece) return;
  const DxfPiece* previous = m_recordPiece;
  m_recordPiece = piece;
  if (previous) release(indexOf(previous));
}

// Without workers every run is settled.
void DxfPieceStream::settle(Piece& piece, bool stop) {
  if (!m_workers) return;
  for (const std::shared_ptr<RunJob>& job : piece.jobs) m_workers->settle(*job, stop);
}

void DxfPieceStream::release(size_t count) {
  if (count == size_t(-1)) return;
  for (size_t i = 0; i < count; ++i) {
    Piece& piece = *m_pieces.front();
    settle(piece, true);
    if (piece.owned.capacity() > 0 && m_spare.size() < kSpares)
      m_spare.push_back(std::move(piece.owned));
    // A joined piece shares its runs with the pieces it joined.
    for (std::shared_ptr<RunJob>& job : piece.jobs)
      if (job.use_count() == 1 && m_spareRuns.size() < kSpares)
        m_spareRuns.push_back(job->run.takeStorage());
    m_pieces.pop_front();
  }
}

}  // namespace zr
