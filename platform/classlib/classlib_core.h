// The non-window half of the class library: objects and run-time classes,
// text, geometry and the module handles.
#pragma once
#include "platform/classlib/object.h"
#include "platform/classlib/cstring.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/geometry.h"
#include "platform/classlib/exceptions.h"
#include "platform/classlib/datetime.h"
#include "platform/classlib/file.h"
#include "platform/classlib/archive.h"
#include "platform/classlib/oledatetime.h"
#include "platform/classlib/collections_array.h"
#include "platform/classlib/collections_list.h"
#include "platform/classlib/collections_map.h"
#include "platform/classlib/regkey.h"
