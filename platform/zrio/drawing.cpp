// CDrawing: file, properties, layouts and layers.
#include "platform/zrio/win32.h"
#include "platform/zrio/drawing.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/zrio/drawing_file.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dwg_preview.h"
#include "platform/zrio/dwg_reader.h"
#include "platform/zrio/dwg_writer.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/dxf_writer.h"
#include "platform/zrio/library_globals.h"
#include "platform/zrio/search_paths.h"
#include "platform/zrio/shape_library.h"
#include "platform/zrio/xref_loader.h"

using zr::DrawingState;

namespace {

void CopyText(const std::string& text, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  size_t n = text.size() < size_t(size - 1) ? text.size() : size_t(size - 1);
  memcpy(buffer, text.data(), n);
  buffer[n] = 0;
}

// Why a file could not be put in place; null when it was.
const char* SaveFailureText(ReplaceFileResult result) {
  switch (result) {
    case ReplaceFileDone:
      return nullptr;
    case ReplaceFileBadName:
      return "文件名无效";
    case ReplaceFileCannotCreate:
      return "不能在目标文件夹中创建文件";
    case ReplaceFileCannotWrite:
      return "不能写入全部数据";
    case ReplaceFileCannotRename:
      return "不能替换目标文件";
  }
  return "未知错误";
}

}  // namespace

CDrawing::CDrawing(CDRAWING_SERVER kind) : m_state(new DrawingState) { m_state->kind = kind; }

CDrawing::~CDrawing() { delete m_state; }

CDrawing* CDrawing::CreateDrawing(CDRAWING_SERVER kind) { return new CDrawing(kind); }

void CDrawing::DeleteDrawing(CDrawing* drawing) { delete drawing; }

short CDrawing::open(const char* path, const char* password) {
  close();
  if (!path || !*path) return kOpenFileError;
  zr::LibraryGlobals& g = zr::Globals();
  DWG_ABORT_FUNC abortFunc;
  void* abortUser;
  DWG_LOAD_BEGIN_FUNC begin = nullptr;
  DWG_LOAD_PROGRESS_FUNC progress = nullptr;
  DWG_LOAD_END_FUNC end = nullptr;
  {
    std::lock_guard<std::mutex> hold(g.lock);
    auto it = g.passwords.find(zr::UpperPath(path));
    if (it != g.passwords.end() && (!password || it->second != password)) return kOpenPassword;
    bool thumbnail = m_state->kind == CDRAWING_SERVER_THUMBNAIL;
    abortFunc = thumbnail ? g.thumbnailAbort : g.viewAbort;
    abortUser = thumbnail ? g.thumbnailAbortUser : g.viewAbortUser;
    if (!thumbnail) {
      begin = g.loadBegin;
      progress = g.loadProgress;
      end = g.loadEnd;
    }
  }
  zr::DrawingFile file(path);
  std::vector<char> data;
  bool dwg = false;
  if (!file.readKind(&data, &dwg)) return kOpenFileError;
  size_t size = data.size() - 1;
  if (dwg) {
    // Known even when the drawing cannot be read.
    m_state->version = zr::VersionCodeOf(zr::DwgVersionText(data.data(), size));
    if (zr::DwgVersionText(data.data(), size).empty()) return kOpenUnsupported;  // DWF
    // No password opens it: LibreDWG reads no encrypted file.
    if (zr::IsPasswordProtectedDwg(data.data(), size)) return kOpenPassword;
  }

  if (begin) begin(0);
  zr::LoadControl control;
  if (abortFunc) control.aborted = [abortFunc, abortUser]() { return abortFunc(abortUser) != 0; };
  if (progress) control.progress = [progress](double percent) { progress(percent); };
  std::unique_ptr<zr::Database> db(new zr::Database);
  short failure = kOpenBadData;
  zr::LoadResult result = zr::LoadResult::Failed;
  if (dwg) {
    bool thumbnail = m_state->kind == CDRAWING_SERVER_THUMBNAIL;
    zr::DwgReadResult read = zr::ReadDwg(data.data(), size, thumbnail, *db, control);
    if (read == zr::DwgReadResult::Ok) result = zr::LoadResult::Ok;
    if (read == zr::DwgReadResult::Aborted) result = zr::LoadResult::Aborted;
    if (read == zr::DwgReadResult::Unavailable) failure = kOpenUnsupported;
  } else {
    result = zr::ReadDxfFile(file.dxfHandle(), *db, control);
    if (result == zr::LoadResult::Unreadable) failure = kOpenFileError;
  }
  data.clear();
  data.shrink_to_fit();
  std::string problems;
  if (result == zr::LoadResult::Ok &&
      !zr::LoadXrefs(*db, path, m_state->kind == CDRAWING_SERVER_THUMBNAIL, control, &problems))
    result = zr::LoadResult::Aborted;
  if (end) end();
  if (result == zr::LoadResult::Aborted) return kOpenAborted;
  if (result != zr::LoadResult::Ok) return failure;

  db->shapes = zr::LoadShapeLibrary(*db, path, zr::SearchFolders());
  zr::NameNumberedShapes(*db->shapes, db.get());
  m_state->db = std::move(db);
  m_state->path = path;
  m_state->images.setDrawing(path);
  m_state->loadProblems = problems;
  m_state->version = zr::VersionCodeOf(m_state->db->acadver);
  m_state->pointMode = m_state->db->pdmode;
  m_state->pointSize = m_state->db->pdsize;
  m_state->currentLayout = 0;
  m_state->resetView();
  return kOpened;
}

void CDrawing::close() {
  m_state->db.reset();
  m_state->boxes.clear();
  m_state->extents.clear();
  m_state->shownExtents.clear();
  m_state->highlighted = nullptr;
  m_state->path.clear();
  m_state->images.setDrawing(std::string());
  m_state->loadProblems.clear();
  m_state->version = -1;
  m_state->currentLayout = 0;
  m_state->view.clearHistory();
}

bool CDrawing::isLoaded() const { return m_state->loaded(); }

void CDrawing::getFileName(char* buffer) const { CopyText(m_state->path, buffer, MAX_PATH); }

short CDrawing::getVersion() const { return m_state->version; }

void CDrawing::enumProperties(DWG_PROPERTY_FUNC callback, void* user) const {
  if (!callback || !m_state->db) return;
  for (const zr::Property& p : m_state->db->properties)
    callback(p.id, zr::Utf8ToAnsi(p.text).c_str(), user);
  if (m_state->db->editingDays >= 0) {
    char minutes[32];
    snprintf(minutes, sizeof minutes, "%.0f", floor(m_state->db->editingDays * 24 * 60));
    callback(kEditingTimeProperty, minutes, user);
  }
}

bool CDrawing::preSave() { return true; }

bool CDrawing::canSave(signed char kind, short version) {
  if (kind == 2) return zr::IsDxfSaveVersion(version);
  return kind == 1 && zr::DwgVersionWritable(version);
}

bool CDrawing::save(const char* path, signed char kind, short version, int) {
  zr::XrefsSetAside references(m_state->db.get());
  const char* failure = nullptr;
  if (!m_state->db)
    failure = "没有打开的图形";
  else if (!canSave(kind, version))
    failure = "不能写入这种文件类型或版本";
  else if (!path)
    failure = SaveFailureText(ReplaceFileBadName);
  else if (kind == 2)
    failure = SaveFailureText(zr::WriteDxfFile(*m_state->db, path, version));
  else
    return saveDwg(path, version);
  m_state->saveError = failure ? failure : "";
  return failure == nullptr;
}

// The DWG writer names what it could not write (an object kind, a file
// step) in its own words; the user reads them after a sentence of ours.
bool CDrawing::saveDwg(const char* path, short version) {
  std::string reason;
  if (zr::WriteDwgFile(*m_state->db, path, version, &reason)) {
    m_state->saveError.clear();
    return true;
  }
  m_state->saveError = "不能写成 DWG 文件: " + reason;
  return false;
}

const char* CDrawing::getSaveError() const { return m_state->saveError.c_str(); }

const char* CDrawing::getLoadProblems() const { return m_state->loadProblems.c_str(); }

int CDrawing::getLayoutCount() const {
  return m_state->db ? int(m_state->db->layouts.size()) : 0;
}

bool CDrawing::getLayoutName(int index, char* text, int textSize) const {
  if (!m_state->db || index < 0 || size_t(index) >= m_state->db->layouts.size()) return false;
  CopyText(zr::Utf8ToAnsi(m_state->db->layouts[size_t(index)].name), text, textSize);
  return true;
}

int CDrawing::getCurrentLayout() const { return m_state->currentLayout; }

void CDrawing::setLayout(int index) {
  if (!m_state->db || index < 0 || size_t(index) >= m_state->db->layouts.size()) return;
  if (index == m_state->currentLayout) return;
  m_state->currentLayout = index;
  m_state->highlighted = nullptr;
  m_state->resetView();
}

void CDrawing::getLayoutLimits(double* xMin, double* xMax, double* yMin, double* yMax) const {
  zr::Vec3 lo(0, 0), hi(0, 0);
  if (m_state->db && size_t(m_state->currentLayout) < m_state->db->layouts.size()) {
    lo = m_state->db->layouts[size_t(m_state->currentLayout)].limMin;
    hi = m_state->db->layouts[size_t(m_state->currentLayout)].limMax;
  }
  if (xMin) *xMin = lo.x;
  if (xMax) *xMax = hi.x;
  if (yMin) *yMin = lo.y;
  if (yMax) *yMax = hi.y;
}

int CDrawing::getLayerCount() const { return m_state->db ? int(m_state->db->layers.size()) : 0; }

namespace {

zr::Layer* LayerAt(DrawingState* s, int index) {
  if (!s->db || index < 0 || size_t(index) >= s->db->layers.size()) return nullptr;
  return &s->db->layers[size_t(index)];
}

}  // namespace

bool CDrawing::getLayerName(int index, char* text, int textSize) const {
  zr::Layer* layer = LayerAt(m_state, index);
  if (!layer) return false;
  CopyText(zr::Utf8ToAnsi(layer->name), text, textSize);
  return true;
}

int CDrawing::getLayerColor(int index) const {
  zr::Layer* layer = LayerAt(m_state, index);
  return layer ? layer->color : 7;
}

bool CDrawing::isLayerOn(int index) const {
  zr::Layer* layer = LayerAt(m_state, index);
  return layer && layer->on;
}

bool CDrawing::isLayerFrozen(int index) const {
  zr::Layer* layer = LayerAt(m_state, index);
  return layer && layer->frozen;
}

void CDrawing::setLayerColor(int index, int color) {
  zr::Layer* layer = LayerAt(m_state, index);
  if (layer && color >= 1 && color <= 255) {
    layer->color = int16_t(color);
    layer->trueColor = -1;
  }
}

void CDrawing::setLayerOn(int index, bool on) {
  zr::Layer* layer = LayerAt(m_state, index);
  if (!layer) return;
  layer->on = on;
  m_state->shownExtents.clear();
}

void CDrawing::setLayerFrozen(int index, bool frozen) {
  zr::Layer* layer = LayerAt(m_state, index);
  if (!layer) return;
  layer->frozen = frozen;
  m_state->shownExtents.clear();
}
