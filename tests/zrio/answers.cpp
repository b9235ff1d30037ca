// ezdxf's answers about the test drawings, read from their JSON files.
#include "tests/zrio/fixtures.h"

#include "tests/support/test_files.h"

#include "platform/native/native_begin.h"
#include <json/json.h>
#include "platform/native/native_end.h"

namespace zriotest {

bool ReadJsonFile(const std::string& path, Json::Value* root) {
  std::string text;
  if (!testfiles::ReadFileBytes(path, text)) return false;
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  return reader->parse(text.data(), text.data() + text.size(), root, nullptr);
}

bool ReadAnswers(const std::string& name, Answers* a) {
  Json::Value root;
  if (!ReadJsonFile(FixturePath(name + ".json"), &root)) return false;
  a->minX = root["extents"][0][0].asDouble();
  a->minY = root["extents"][0][1].asDouble();
  a->maxX = root["extents"][1][0].asDouble();
  a->maxY = root["extents"][1][1].asDouble();
  a->tolerance = root["tolerance"].asDouble();
  for (const Json::Value& l : root["layers"])
    a->layers.push_back({l[0].asString(), l[1].asInt(), l[2].asBool(), l[3].asBool()});
  for (const Json::Value& l : root["layouts"]) a->layouts.push_back(l.asString());
  a->blocks = root["blocks"].asInt();
  for (const Json::Value& p : root["properties"])
    a->properties.push_back({p[0].asInt(), p[1].asString()});
  a->version = root["version"].asString();
  return true;
}

}  // namespace zriotest
