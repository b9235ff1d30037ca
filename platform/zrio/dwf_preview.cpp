#include "platform/zrio/win32.h"
#include "platform/zrio/dwf_preview.h"

#include <string.h>

#include <string>

#include "platform/zrio/dwg_preview.h"
#include "platform/zrio/zip_package.h"

namespace zr {

namespace {

const size_t kMaxDescriptorSize = 8u << 20;
const size_t kMaxPictureSize = 32u << 20;
const size_t kBmpFileHeaderSize = 14;

bool EndsWith(const std::string& text, const char* tail) {
  size_t n = strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The value of attribute `name` in the text of one XML start tag.
bool AttributeValue(const std::string& tag, const char* name, std::string* value) {
  size_t length = strlen(name);
  for (size_t at = tag.find(name); at != std::string::npos; at = tag.find(name, at + 1)) {
    if (at == 0 || !IsSpace(tag[at - 1])) continue;
    size_t p = at + length;
    while (p < tag.size() && IsSpace(tag[p])) ++p;
    if (p >= tag.size() || tag[p] != '=') continue;
    ++p;
    while (p < tag.size() && IsSpace(tag[p])) ++p;
    if (p >= tag.size() || (tag[p] != '"' && tag[p] != '\'')) continue;
    size_t close = tag.find(tag[p], p + 1);
    if (close == std::string::npos) return false;
    *value = tag.substr(p + 1, close - p - 1);
    return true;
  }
  return false;
}

// Targets of the resources a descriptor gives the role "thumbnail".
std::vector<std::string> ThumbnailReferences(const std::vector<uint8_t>& xml) {
  std::vector<std::string> refs;
  std::string text(xml.begin(), xml.end());
  for (size_t open = text.find('<'); open != std::string::npos; open = text.find('<', open + 1)) {
    size_t close = text.find('>', open);
    if (close == std::string::npos) break;
    std::string tag = text.substr(open, close - open);
    std::string role, href;
    if (AttributeValue(tag, "role", &role) && ZipNameKey(role) == "thumbnail" &&
        AttributeValue(tag, "href", &href) && !href.empty())
      refs.push_back(href);
  }
  return refs;
}

// A referenced entry: by its full name, else beside the descriptor.
const ZipEntry* Resolve(const ZipPackage& package, const std::string& descriptor,
                        const std::string& href) {
  if (const ZipEntry* entry = package.find(href)) return entry;
  size_t slash = ZipNameKey(descriptor).rfind('/');
  if (slash == std::string::npos) return nullptr;
  return package.find(descriptor.substr(0, slash + 1) + href);
}

bool PictureAsBmp(const ZipPackage& package, const ZipEntry& entry, std::vector<uint8_t>* bmp) {
  std::vector<uint8_t> bytes;
  if (!package.extract(entry, kMaxPictureSize, &bytes)) return false;
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() > 8 && memcmp(bytes.data(), kPngSignature, 8) == 0)
    return BmpFromPng(bytes.data(), bytes.size(), bmp);
  if (bytes.size() > kBmpFileHeaderSize && bytes[0] == 'B' && bytes[1] == 'M')
    return BmpFromDib(bytes.data() + kBmpFileHeaderSize, bytes.size() - kBmpFileHeaderSize, bmp);
  return false;
}

bool FromDescriptors(const ZipPackage& package, std::vector<uint8_t>* bmp) {
  for (const ZipEntry& entry : package.entries()) {
    if (!EndsWith(ZipNameKey(entry.name), "descriptor.xml")) continue;
    std::vector<uint8_t> xml;
    if (!package.extract(entry, kMaxDescriptorSize, &xml)) continue;
    for (const std::string& href : ThumbnailReferences(xml)) {
      const ZipEntry* picture = Resolve(package, entry.name, href);
      if (picture && PictureAsBmp(package, *picture, bmp)) return true;
    }
  }
  return false;
}

// Packages whose descriptors could not be read: a picture named as a
// thumbnail.
bool FromNames(const ZipPackage& package, std::vector<uint8_t>* bmp) {
  for (const ZipEntry& entry : package.entries()) {
    std::string key = ZipNameKey(entry.name);
    if (key.find("thumbnail") == std::string::npos) continue;
    if (!EndsWith(key, ".png") && !EndsWith(key, ".bmp")) continue;
    if (PictureAsBmp(package, entry, bmp)) return true;
  }
  return false;
}

}  // namespace

bool DwfPreview(const uint8_t* data, size_t size, std::vector<uint8_t>* bmp) {
  ZipPackage package;
  if (!package.open(data, size)) return false;
  return FromDescriptors(package, bmp) || FromNames(package, bmp);
}

}  // namespace zr
