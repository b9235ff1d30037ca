// Closes "platform/native/native_begin.h": the Win32 macros come back.
#ifndef HARBECK_NATIVE_OPEN
#error "native_end.h without native_begin.h"
#endif
#undef HARBECK_NATIVE_OPEN

#pragma pop_macro("_MSC_VER")
#pragma pop_macro("boolean")
#pragma pop_macro("__cdecl")
#pragma pop_macro("__WIN32")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("_WIN64")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
