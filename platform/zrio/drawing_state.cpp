#include "platform/zrio/win32.h"
#include "platform/zrio/drawing_state.h"

#include "platform/zrio/box_sink.h"
#include "platform/zrio/gdi_sink.h"
#include "platform/zrio/library_globals.h"

namespace zr {

namespace {

const std::vector<Entity> kNoEntities;
const std::vector<Box3> kNoBoxes;

}  // namespace

int32_t DrawingState::layoutBlock() const {
  if (!db) return -1;
  if (currentLayout > 0 && size_t(currentLayout) < db->layouts.size())
    return db->layouts[size_t(currentLayout)].block;
  return db->modelBlock;
}

const std::vector<Entity>& DrawingState::layoutEntities() const {
  int32_t block = layoutBlock();
  if (block < 0 || size_t(block) >= db->blocks.size()) return kNoEntities;
  return db->blocks[size_t(block)].entities;
}

const std::vector<Box3>& DrawingState::layoutBoxes() {
  int32_t block = layoutBlock();
  if (block < 0) return kNoBoxes;
  auto it = boxes.find(block);
  if (it != boxes.end()) return it->second;
  std::vector<Box3>& list = boxes[block];
  Box3 all;
  BoxSink sink;
  WalkOptions options;
  options.respectLayers = false;
  EntityWalker walker(*db, sink, options);
  for (const Entity& e : layoutEntities()) {
    sink.reset();
    walker.walk(e);
    list.push_back(sink.box());
    all.add(sink.box());
  }
  extents[block] = all;
  return list;
}

const std::vector<Box3>* DrawingState::modelBoxes() {
  if (!db || db->modelBlock < 0) return nullptr;
  if (layoutBlock() == db->modelBlock) return &layoutBoxes();
  int saved = currentLayout;
  currentLayout = 0;
  const std::vector<Box3>* list = &layoutBoxes();
  currentLayout = saved;
  return list;
}

Box3 DrawingState::layoutExtents() {
  layoutBoxes();
  int32_t block = layoutBlock();
  Box3 box = block >= 0 ? shownBox(block) : Box3();
  if (!box.valid() && block >= 0) box = extents[block];
  if (!box.valid() && db) {
    if (currentLayout == 0 && db->hasExtents && db->extMin.x < db->extMax.x) {
      box.add(db->extMin);
      box.add(db->extMax);
    } else {
      Vec3 lo = db->limMin, hi = db->limMax;
      if (currentLayout > 0 && size_t(currentLayout) < db->layouts.size()) {
        lo = db->layouts[size_t(currentLayout)].limMin;
        hi = db->layouts[size_t(currentLayout)].limMax;
      }
      box.add(lo);
      box.add(hi);
    }
  }
  return box;
}

Box3 DrawingState::shownBox(int32_t block) {
  auto it = shownExtents.find(block);
  if (it != shownExtents.end()) return it->second;
  bool allShown = true;
  for (const Layer& layer : db->layers)
    if (!layer.on || layer.frozen) allShown = false;
  Box3 box = extents[block];
  if (!allShown) {
    BoxSink sink;
    EntityWalker walker(*db, sink, WalkOptions());
    walker.walkList(layoutEntities(), nullptr);
    box = sink.box();
  }
  shownExtents[block] = box;
  return box;
}

Box3 DrawingState::viewExtents() {
  if (view.params().rotation.isIdentity()) return layoutExtents();
  BoxSink sink(view.params().rotation);
  EntityWalker walker(*db, sink, WalkOptions());
  walker.walkList(layoutEntities(), nullptr);
  if (sink.box().valid()) return sink.box();
  return layoutExtents().transformed(view.params().rotation);
}

RenderOptions DrawingState::renderOptions(bool forPrint) const {
  RenderOptions o;
  o.background = Globals().background;
  o.colorMode = forPrint ? printColorMode : colorMode;
  o.quickMode = quickMode && !forPrint;
  o.pdmode = pointMode;
  o.pdsize = pointSize;
  o.dpi = Globals().dpi;
  o.ltscale = db ? db->ltscale : 1;
  o.cancel = &breakDraw;
  return o;
}

void DrawingState::render(HDC dc, bool flipY, const ViewState& v, const RenderOptions& options) {
  if (!db) return;
  const std::vector<Box3>& list = layoutBoxes();
  GdiSink sink(dc, flipY, v.worldToDevice(), v.width(), v.height(), options);
  EntityWalker walker(*db, sink, drawOptions());
  walker.setModelBoxes(modelBoxes());
  walker.walkList(layoutEntities(), &list);
}

WalkOptions DrawingState::drawOptions() {
  WalkOptions options;
  options.images = &images;
  return options;
}

void DrawingState::resetView() {
  ViewParams p;
  view.setParams(p);
  view.clearHistory();
  view.fitToSize(layoutExtents(), 1.0);
}

}  // namespace zr
