#include "app/update_reply.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "platform/native/native_begin.h"
#include <json/json.h>
#include "platform/native/native_end.h"

#include <windows.h>

#include "platform/zrio/zrio.h"

namespace {

// UTF-8 to the ANSI code page, through UTF-16.
std::string Utf8ToAnsi(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, NULL, 0);
    if (length <= 0)
        return std::string();
    std::vector<WCHAR> wide(length);
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
    return g_U2A((const wchar_t*)wide.data());
}

void TakeLevel(CUpdateReply& reply, const Json::Value& value)
{
    if (!value.isInt())
        return;
    int level = value.asInt();
    if (level >= 0 && level <= 2)
        reply.level = level;
}

std::string ElementPath(const std::string& path, Json::ArrayIndex index)
{
    char element[32];
    snprintf(element, sizeof(element), "[%u]", index);
    return path + element;
}

std::string MemberPath(const std::string& path, const std::string& name)
{
    return path.empty() ? name : path + "." + name;
}

}  // namespace

void ParseUpdateReply(CUpdateReply& reply, const Json::Value& value, const std::string& path)
{
    switch (value.type()) {
    case Json::intValue:
    case Json::uintValue:
        if (path == "update")
            TakeLevel(reply, value);
        break;
    case Json::stringValue:
        if (path == "product")
            reply.productVersion = value.asString().c_str();
        else if (path == "feature")
            reply.featureText = Utf8ToAnsi(value.asString());
        break;
    case Json::arrayValue:
        for (Json::ArrayIndex index = 0; index < value.size(); ++index)
            ParseUpdateReply(reply, value[index], ElementPath(path, index));
        break;
    case Json::objectValue:
        for (const std::string& name : value.getMemberNames())
            ParseUpdateReply(reply, value[name], MemberPath(path, name));
        break;
    default:
        break;
    }
}

bool ReadUpdateReply(const char* text, CUpdateReply& reply)
{
    Json::Value root;
    try {
        Json::Reader reader;
        if (!reader.parse(text, text + strlen(text), root, true))
            return false;
    } catch (const std::exception&) {
        return false;
    }
    ParseUpdateReply(reply, root, "");
    return true;
}
