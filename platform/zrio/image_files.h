// The raster files a drawing's IMAGE entities show, found and decoded once
// for the drawing: a file is looked for at its stored path, relative to the
// drawing's folder, by its name beside the drawing, then by its name in
// each search folder (search_paths.h), and decoded through the decoder the
// program registered (DWG_SetImageDecoder). An image of an external
// reference is looked for beside the referenced drawing first, then as the
// drawing's own. A file met through several stored paths or references is
// decoded once.
#pragma once
#include "platform/zrio/win32.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/zrio/raster_image.h"

namespace zr {

class ImageFiles {
 public:
  // The drawing the stored paths belong to (ANSI path); forgets what was
  // found for the one before.
  void setDrawing(const std::string& path);
  // The picture of a stored path (UTF-8) of an image in the drawing, or in
  // the external reference read from referenceFolder (ANSI); null when the
  // file is not found, cannot be decoded or no decoder is registered. A
  // file that was not found is not looked for again until setDrawing.
  std::shared_ptr<const RasterImage> find(const std::string& storedPath,
                                          const std::string& referenceFolder = std::string());

 private:
  std::mutex m_lock;
  std::string m_folder;  // of the drawing, ending with a backslash; empty when unknown
  // By the folder of the reference (empty for the drawing's own) and the
  // stored path.
  std::map<std::pair<std::string, std::string>, std::shared_ptr<const RasterImage>> m_found;
  std::map<std::string, std::shared_ptr<const RasterImage>> m_decoded;  // by upper-case full path
};

// The picture of a raster file through the registered decoder; null
// without one or when it fails. Pictures larger than the library draws are
// reduced.
std::shared_ptr<const RasterImage> DecodeRasterFile(const std::string& ansiPath);

}  // namespace zr
