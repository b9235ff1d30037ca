// Include a native (Linux) library header between this file and
// "platform/native/native_end.h", and never any other way:
//
//   #include "platform/native/native_begin.h"
//   #include <png.h>
//   #include "platform/native/native_end.h"
//
// Wine's headers define _WIN32 and make __cdecl the Microsoft calling
// convention; native headers seeing that switch to their Windows branches,
// which do not match the native libraries (libpng crashes, jpeglib's
// `boolean` clashes with rpcndr.h). Between the pair they see a Linux build.
// The pair does not nest.
#ifdef HARBECK_NATIVE_OPEN
#error "native_begin.h included twice without native_end.h"
#endif
#define HARBECK_NATIVE_OPEN

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WIN32")
#pragma push_macro("__cdecl")
#pragma push_macro("boolean")
#pragma push_macro("_MSC_VER")
#undef _WIN32
#undef WIN32
#undef _WIN64
#undef __WIN32__
#undef __WIN32
#undef __cdecl
#undef _MSC_VER
#define __cdecl
#define boolean jpeg_boolean
