// The reply of the update service: a JSON document whose top-level members
// "update" (0, 1 or 2), "product" (the newest version) and "feature" (what
// is new, UTF-8) count.
#pragma once
#include <string>

namespace Json {
class Value;
}

// What one reply announced.
struct CUpdateReply {
    // 0 nothing to show, 1 show the notice, 2 show it and quit afterwards.
    int level = 0;
    std::string productVersion;
    // In the ANSI code page.
    std::string featureText;
};

// Walks the value and everything in it, the path naming where it stands:
// a member by its name after the parent's path and a dot (only the name at
// the top), an element by "[index]" after it. Only the paths "update",
// "product" and "feature" take effect, so only top-level members count.
void ParseUpdateReply(CUpdateReply& reply, const Json::Value& value, const std::string& path);

// Parses the reply text (comments allowed) and walks it; false when it is
// not JSON, nesting too deep included.
bool ReadUpdateReply(const char* text, CUpdateReply& reply);
