// GoogleTest for the tests, reached through the native-header pair.
#pragma once
#include <windows.h>
#include "platform/native/native_begin.h"
#include <gtest/gtest.h>
#include "platform/native/native_end.h"
