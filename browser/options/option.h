// COption: the options sheet "选项设置", the one place where the user edits
// the settings. Made on the stack by its callers.
#pragma once

class COption
{
public:
    // Runs the sheet modally. After OK every page that was opened has
    // stored its values, all settings are saved, and the main window is
    // told what changed; true. Cancel changes nothing; false.
    bool ShowOptionSheet();
};
