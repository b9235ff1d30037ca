// <windows.h> for the library's own sources, without the min and max macros
// that clash with the C++ library. Include it first; public headers include
// <windows.h> themselves and use nothing from the C++ library.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef min
#undef max
