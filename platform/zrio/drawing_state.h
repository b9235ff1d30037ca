// What a CDrawing holds: the drawing read from its file, its view and its
// display settings.
#pragma once
#include "platform/zrio/win32.h"
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/drawing.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/image_files.h"
#include "platform/zrio/screen_sink.h"
#include "platform/zrio/view_state.h"

namespace zr {

struct DrawingState {
  CDRAWING_SERVER kind = CDRAWING_SERVER_VIEW;
  std::unique_ptr<Database> db;
  std::string path;  // as given to open()
  ImageFiles images;  // the pictures of its IMAGE entities
  std::string saveError;  // why the last save failed
  std::string loadProblems;  // what the last open could not load
  short version = -1;

  ViewState view;
  ViewState savedView;
  bool hasSavedView = false;
  int currentLayout = 0;
  std::map<int32_t, std::vector<Box3>> boxes;  // block index -> top-level entity boxes
  std::map<int32_t, Box3> extents;             // block index -> extents
  // Block index -> extents of what shows: entities on layers that are off or
  // frozen left out; cleared when a layer is turned on, off, frozen or thawed.
  std::map<int32_t, Box3> shownExtents;

  int colorMode = 0;
  int printColorMode = 0;
  int pointMode = 0;
  double pointSize = 0;
  bool quickMode = false;
  bool printSwitch[2] = {false, false};
  int pageValue = 0;
  CDwgExport* exportDevice = nullptr;
  const Entity* highlighted = nullptr;
  std::atomic<bool> breakDraw{false};

  bool loaded() const { return db != nullptr; }
  // Block of the current layout; -1 when nothing is loaded.
  int32_t layoutBlock() const;
  const std::vector<Entity>& layoutEntities() const;
  const std::vector<Box3>& layoutBoxes();
  // Boxes of the model space entities (for viewports of paper layouts).
  const std::vector<Box3>* modelBoxes();
  // World extents of what the current layout shows; of all it holds when
  // none of it shows, and its limits when it is empty.
  Box3 layoutExtents();
  // Extents of what a block shows (invalid when nothing shows).
  Box3 shownBox(int32_t block);
  // Extents in view coordinates under the current 3D direction.
  Box3 viewExtents();
  RenderOptions renderOptions(bool forPrint) const;
  void render(HDC dc, bool flipY, const ViewState& v, const RenderOptions& options);
  // How the renderers walk the drawing: with its pictures.
  WalkOptions drawOptions();
  void resetView();
};

}  // namespace zr
