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
    : data_(data), inMemory_(true), size_(size) {
  format_ = DetectDxfFormat(data, size);
  choose(options);
}

DxfPieceStream::DxfPieceStream(HANDLE file, uint64_t size, const PieceOptions& options)
    : file_(file), size_(size) {
  choose(options);
  carry_ = takeBuffer();
  readMore(pieceBytes_);
  format_ = DetectDxfFormat(carry_.data(), carry_.size());
}

DxfPieceStream::~DxfPieceStream() {
  for (const std::unique_ptr<Piece>& piece : pieces_)
    for (const std::shared_ptr<RunJob>& job : piece->jobs) job->cancelled = true;
  workers_.reset();
}

void DxfPieceStream::choose(const PieceOptions& options) {
  threads_ = std::min(options.threads ? options.threads : Processors(), kMostThreads);
  window_ = threads_ + 2;
  if (options.pieceBytes) {
    pieceBytes_ = options.pieceBytes;
  } else if (threads_ == 1 && inMemory_) {
    pieceBytes_ = std::max<size_t>(size_t(size_), 1);  // nothing to share: one piece
  } else {
    uint64_t share = size_ / (std::max(threads_, 2u) * kPiecesPerThread);
    pieceBytes_ =
        size_t(std::min<uint64_t>(std::max<uint64_t>(share, kSmallestPiece), kLargestPiece));
  }
}

const DxfPiece* DxfPieceStream::first() {
  if (pieces_.empty() && !cutPiece()) return nullptr;
  return pieces_.front().get();
}

// A piece's buffer let go is read into again: its pages are there already.
PageBuffer DxfPieceStream::takeBuffer() {
  PageBuffer buffer;
  if (!spare_.empty()) {
    buffer = std::move(spare_.back());
    spare_.pop_back();
  }
  buffer.resize(0);
  buffer.reserve(pieceBytes_ + 2 * kCutSearchBytes);
  return buffer;
}

bool DxfPieceStream::readMore(size_t bytes) {
  uint64_t left = size_ - (consumed_ + carry_.size());
  size_t wanted = size_t(std::min<uint64_t>(bytes, left));
  size_t have = carry_.size();
  carry_.resize(have + wanted);
  size_t got = 0;
  while (got < wanted) {
    DWORD done = 0;
    DWORD chunk = DWORD(std::min<size_t>(wanted - got, kLargestRead));
    if (!ReadFile(file_, carry_.data() + have + got, chunk, &done, nullptr) || done == 0) {
      unreadable_ = true;
      carry_.resize(have + got);
      return false;
    }
    got += done;
  }
  return true;
}

bool DxfPieceStream::cutPiece() {
  if (unreadable_ || (!pieces_.empty() && pieces_.back()->last)) return false;
  std::unique_ptr<Piece> piece(new Piece);
  piece->start = consumed_;
  size_t from = std::max<size_t>(pieceBytes_, consumed_ == 0 ? format_.firstGroup + 1 : 1);
  size_t cut = kNoCut;
  if (inMemory_) {
    size_t rest = size_t(size_ - consumed_);
    size_t resume;
    if (rest > from) cut = NextCut(data_ + consumed_, rest, from, format_, &resume);
    piece->bytes = data_ + consumed_;
    piece->size = cut == kNoCut ? rest : cut;
  } else {
    while (true) {
      bool allRead = consumed_ + carry_.size() >= size_;
      if (carry_.size() > from) {
        cut =
            NextCut(carry_.data(), carry_.size(), std::max(from, cutResume_), format_, &cutResume_);
        if (cut != kNoCut) break;
      }
      if (allRead) break;
      // The bytes searched past `from` double while no cut is found.
      size_t more = carry_.size() <= from ? from - carry_.size() + kCutSearchBytes
                                          : std::max(kCutSearchBytes, carry_.size() - from);
      if (!readMore(more)) return false;
    }
    cutResume_ = 0;
    piece->owned = std::move(carry_);
    if (cut != kNoCut) {
      carry_ = takeBuffer();
      carry_.append(piece->owned.data() + cut, piece->owned.size() - cut);
      piece->owned.resize(cut);
    }
    piece->bytes = piece->owned.data();
    piece->size = piece->owned.size();
  }
  piece->last = cut == kNoCut;
  consumed_ += piece->size;
  pieces_.push_back(std::move(piece));
  return true;
}

size_t DxfPieceStream::indexOf(const DxfPiece* piece) const {
  for (size_t i = pieces_.size(); i-- > 0;)
    if (pieces_[i].get() == piece) return i;
  return size_t(-1);
}

// Pieces are cut when only half of those ahead are left, as many at once
// as there is room for, and handed to the workers together: waking a
// worker takes as long as parsing many entities.
void DxfPieceStream::readAhead(size_t from) {
  if (!context_) return;
  if (pieces_.size() <= from + window_ / 2)
    while (pieces_.size() < from + window_ && cutPiece()) {
    }
  dispatch(from);
}

void DxfPieceStream::dispatch(size_t first) {
  std::vector<std::shared_ptr<RunJob>> jobs;
  for (size_t i = first; i < pieces_.size(); ++i) {
    Piece& piece = *pieces_[i];
    if (!piece.jobs.empty()) continue;
    ParsedEntities storage;
    if (!spareRuns_.empty()) {
      storage = std::move(spareRuns_.back());
      spareRuns_.pop_back();
    }
    piece.jobs.push_back(std::make_shared<RunJob>(piece, context_, std::move(storage)));
    jobs.push_back(piece.jobs.back());
  }
  if (jobs.empty()) return;
  if (!workers_) workers_.reset(new DxfRunWorkers(threads_ - 1));
  workers_->add(jobs);
}

void DxfPieceStream::parseAhead(const DxfPiece& current,
                                std::shared_ptr<const RunContext> context) {
  if (threads_ < 2 || context_) return;
  size_t index = indexOf(&current);
  if (index == size_t(-1)) return;
  context_ = std::move(context);
  readAhead(index + 1);
}

// The reader has left the entities: the runs parsed further ahead are of
// no use, and the threads end (an idle thread holds a megabyte under Wine).
void DxfPieceStream::stopParsingAhead() {
  context_.reset();
  if (!workers_) return;
  workers_->dropWaiting();
  for (const std::unique_ptr<Piece>& piece : pieces_) settle(*piece, true);
  workers_.reset();
}

bool DxfPieceStream::parsedEntityAt(const DxfPiece& piece, uint64_t start,
                                    const std::function<bool()>& aborted, EntityRun** run,
                                    ParsedEntity** parsed) {
  *parsed = nullptr;
  size_t index = indexOf(&piece);
  if (index == size_t(-1)) return true;
  for (const std::shared_ptr<RunJob>& job : pieces_[index]->jobs) {
    if (!job->covers(start)) continue;
    if (!job->done.load(std::memory_order_acquire) && !workers_->finish(*job, aborted))
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
  if (index + 1 == pieces_.size() && !cutPiece()) return nullptr;
  readAhead(index + 1);
  return pieces_[index + 1].get();
}

const DxfPiece* DxfPieceStream::joined(const DxfPiece* piece, uint64_t from) {
  size_t index = indexOf(piece);
  if (index == size_t(-1)) return nullptr;
  if (index + 1 == pieces_.size() && !cutPiece()) return nullptr;
  Piece& a = *pieces_[index];
  Piece& b = *pieces_[index + 1];
  settle(a, false);
  settle(b, false);
  std::unique_ptr<Piece> joint(new Piece);
  joint->start = from;
  joint->last = b.last;
  if (inMemory_) {
    joint->bytes = data_ + from;
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
  pieces_[index + 1] = std::move(joint);
  return pieces_[index + 1].get();
}

void DxfPieceStream::recordStarted(const DxfPiece* piece) {
  if (piece == recordPiece_) return;
  const DxfPiece* previous = recordPiece_;
  recordPiece_ = piece;
  if (previous) release(indexOf(previous));
}

// Without workers every run is settled.
void DxfPieceStream::settle(Piece& piece, bool stop) {
  if (!workers_) return;
  for (const std::shared_ptr<RunJob>& job : piece.jobs) workers_->settle(*job, stop);
}

void DxfPieceStream::release(size_t count) {
  if (count == size_t(-1)) return;
  for (size_t i = 0; i < count; ++i) {
    Piece& piece = *pieces_.front();
    settle(piece, true);
    if (piece.owned.capacity() > 0 && spare_.size() < kSpares)
      spare_.push_back(std::move(piece.owned));
    // A joined piece shares its runs with the pieces it joined.
    for (std::shared_ptr<RunJob>& job : piece.jobs)
      if (job.use_count() == 1 && spareRuns_.size() < kSpares)
        spareRuns_.push_back(job->run.takeStorage());
    pieces_.pop_front();
  }
}

}  // namespace zr
