// The flat thumbnail interface: numbered contexts whose running draw another
// thread can break.
#include "platform/zrio/win32.h"
#include <map>
#include <memory>
#include <mutex>

#include "platform/zrapp/zrapp.h"

namespace {

struct Context {
  std::mutex lock;
  CDrawing* drawing = nullptr;  // the drawing being drawn, if any
};

struct Contexts {
  std::mutex lock;
  std::map<int, std::shared_ptr<Context>> byId;
  int next = 1;
};

Contexts& All() {
  static Contexts contexts;
  return contexts;
}

std::shared_ptr<Context> Find(int id) {
  std::lock_guard<std::mutex> hold(All().lock);
  auto it = All().byId.find(id);
  return it == All().byId.end() ? nullptr : it->second;
}

}  // namespace

namespace zrapp {

int create() {
  std::lock_guard<std::mutex> hold(All().lock);
  int id = All().next++;
  All().byId[id] = std::make_shared<Context>();
  return id;
}

int draw(int context, CDrawing* drawing, HDC dc, int width, int height, int) {
  std::shared_ptr<Context> c = Find(context);
  if (!c || !drawing || !dc) return 0;
  {
    std::lock_guard<std::mutex> hold(c->lock);
    c->drawing = drawing;
  }
  drawing->setViewSize(width, height);
  drawing->draw(dc);
  std::lock_guard<std::mutex> hold(c->lock);
  c->drawing = nullptr;
  return 1;
}

void callBreak(int context) {
  std::shared_ptr<Context> c = Find(context);
  if (!c) return;
  std::lock_guard<std::mutex> hold(c->lock);
  if (c->drawing) c->drawing->breakDraw();
}

void release(int context) {
  std::lock_guard<std::mutex> hold(All().lock);
  All().byId.erase(context);
}

}  // namespace zrapp
