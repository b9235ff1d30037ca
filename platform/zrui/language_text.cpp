// The library's language texts: keys the callers name, looked up in the
// resource strings of the language chosen at start-up.
#include "platform/zrui/zrui.h"

#include <string.h>

#include <map>
#include <string>

#include "platform/classlib/module_state.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

// The language of the library's resource texts (simplified Chinese).
const int kResourceLanguage = 241;

struct KeyedText {
    const char* key;
    UINT stringId;
};

const KeyedText kKeyedTexts[] = {
    {"DwgTypeVer2004", IDS_ZRUI_DWG_2004}, {"DwgTypeVer2000", IDS_ZRUI_DWG_2000},
    {"DwgTypeVer14", IDS_ZRUI_DWG_R14},    {"DwgTypeVer12", IDS_ZRUI_DWG_R12},
    {"DxfTypeVer2004", IDS_ZRUI_DXF_2004}, {"DxfTypeVer2000", IDS_ZRUI_DXF_2000},
    {"DxfTypeVer14", IDS_ZRUI_DXF_R14},    {"DxfTypeVer12", IDS_ZRUI_DXF_R12},
};

// Texts handed out so far, by key; they stay for the run.
std::map<std::string, std::string>& LoadedTexts()
{
    static std::map<std::string, std::string> texts;
    return texts;
}

}  // namespace

const char* languageText(const char* key, const char* fallback)
{
    if (!key || GetLanguageId() != kResourceLanguage)
        return fallback;
    std::map<std::string, std::string>& texts = LoadedTexts();
    auto found = texts.find(key);
    if (found != texts.end())
        return found->second.c_str();
    for (const KeyedText& entry : kKeyedTexts) {
        char text[256];
        if (strcmp(entry.key, key) == 0 &&
            LoadStringA(AfxGetResourceHandle(), entry.stringId, text, sizeof(text)) > 0)
            return texts.emplace(key, text).first->second.c_str();
    }
    return fallback;
}

}  // namespace ZrUI
