// The pieces a DXF file is cut into, read as the section reader moves
// through them (from memory the caller holds, or from a file a piece at a
// time, so that the file's text is never held whole), and the entity runs
// worker threads parse of the pieces ahead of it. A piece is let go once
// the reader has left it.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/zrio/dxf_entity_run.h"
#include "platform/zrio/dxf_groups.h"
#include "platform/zrio/dxf_run_workers.h"
#include "platform/zrio/page_buffer.h"

namespace zr {

struct PieceOptions {
  // Threads that parse: 0 as many as the machine has; 1 the calling thread
  // alone, which then parses every entity where the section reader meets it.
  unsigned threads = 0;
  // The size pieces are cut at; 0 chosen by the size of the file.
  size_t pieceBytes = 0;
};

class DxfPieceStream : public DxfPieceSource {
 public:
  // Bytes the caller holds until the stream is gone.
  DxfPieceStream(const char* data, size_t size, const PieceOptions& options);
  // `size` bytes of a file, read from its start.
  DxfPieceStream(HANDLE file, uint64_t size, const PieceOptions& options);
  ~DxfPieceStream() override;
  DxfPieceStream(const DxfPieceStream&) = delete;
  DxfPieceStream& operator=(const DxfPieceStream&) = delete;

  // The first piece; null when it could not be read.
  const DxfPiece* first();
  const DxfFormat& format() const { return m_format; }
  uint64_t size() const { return m_size; }
  // A read of the file failed, or it ended before its size.
  bool unreadable() const { return m_unreadable; }

  // True when there are threads to parse ahead and they do not yet.
  bool wantsContext() const { return m_threads > 1 && !m_context; }
  // From now on the pieces after `current` are parsed ahead in `context`.
  void parseAhead(const DxfPiece& current, std::shared_ptr<const RunContext> context);
  // Runs parsed further are let go, and the worker threads end.
  void stopParsingAhead();
  // The entity parsed ahead whose "0" group starts at file offset `start`
  // of `piece`, and the run holding it; null when there is none. False
  // when `aborted` said to stop while a worker still parsed it.
  bool parsedEntityAt(const DxfPiece& piece, uint64_t start, const std::function<bool()>& aborted,
                      EntityRun** run, ParsedEntity** parsed);

  const DxfPiece* after(const DxfPiece* piece) override;
  const DxfPiece* joined(const DxfPiece* piece, uint64_t from) override;
  void recordStarted(const DxfPiece* piece) override;

 private:
  struct Piece : DxfPiece {
    PageBuffer owned;                           // the bytes, when read from a file
    std::vector<std::shared_ptr<RunJob>> jobs;  // runs of these bytes
  };

  void choose(const PieceOptions& options);
  bool cutPiece();
  bool readMore(size_t bytes);
  PageBuffer takeBuffer();
  size_t indexOf(const DxfPiece* piece) const;
  void readAhead(size_t from);  // the pieces from `from` on
  void dispatch(size_t first);  // the pieces from `first` on without a run
  void settle(Piece& piece, bool stop);
  void release(size_t count);

  const char* m_data = nullptr;  // memory input
  bool m_inMemory = false;
  HANDLE m_file = nullptr;  // file input
  uint64_t m_size;
  uint64_t m_consumed = 0;                  // bytes of the input cut into pieces
  PageBuffer m_carry;                       // file bytes read but not yet in a piece
  std::vector<PageBuffer> m_spare;          // of pieces let go, to read more into
  std::vector<ParsedEntities> m_spareRuns;  // of runs let go, to parse more into
  size_t m_cutResume = 0;                   // where the search for a cut in m_carry goes on
  bool m_unreadable = false;
  DxfFormat m_format;
  unsigned m_threads = 1;
  size_t m_pieceBytes = 0;
  size_t m_window = 0;  // pieces read and parsed ahead of the reader: a few more than the threads
  std::deque<std::unique_ptr<Piece>> m_pieces;
  const DxfPiece* m_recordPiece = nullptr;      // of the last "0" group read
  std::shared_ptr<const RunContext> m_context;  // while parsing ahead
  std::unique_ptr<DxfRunWorkers> m_workers;
};

}  // namespace zr
