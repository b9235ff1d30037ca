// The raster files a drawing's IMAGE entities show, found and decoded once
// for the drawing: a file is looked for at its stored path, relative to the
// drawing's folder, by its name beside the drawing, then by its name in
// each search folder (DWG_SetSearchDirectories), and decoded through the
// decoder the program registered (DWG_SetImageDecoder).
#pragma once
#include "platform/zrio/win32.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/zrio/raster_image.h"

namespace zr {

class ImageFiles {
 public:
  // The drawing the stored paths belong to (ANSI path); forgets what was
  // found for the one before.
  void setDrawing(const std::string& path);
  // The picture of a stored path (UTF-8); null when the file is not found,
  // cannot be decoded or no decoder is registered. A file that was not
  // found is not looked for again until setDrawing.
  std::shared_ptr<const RasterImage> find(const std::string& storedPath);

 private:
  std::string locate(const std::string& storedPath) const;

  std::mutex lock_;
  std::string folder_;  // of the drawing, ending with a backslash; empty when unknown
  std::map<std::string, std::shared_ptr<const RasterImage>> found_;
};

// The picture of a raster file through the registered decoder; null
// without one or when it fails. Pictures larger than the library draws are
// reduced.
std::shared_ptr<const RasterImage> DecodeRasterFile(const std::string& ansiPath);

}  // namespace zr
