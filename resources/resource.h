// Resource ids shared by the resource scripts and the code, one header per
// subsystem.
#pragma once
#include "platform/classlib/ids.h"
#include "resources/app_ids.h"
#include "resources/browser_ids.h"
#include "resources/browser_info_ids.h"
#include "resources/browser_dialogs_ids.h"
#include "resources/browser_options_ids.h"
#include "resources/drawing_ids.h"
#include "resources/toolkit_ids.h"
#include "resources/views_ids.h"
#include "resources/zrui_ids.h"
