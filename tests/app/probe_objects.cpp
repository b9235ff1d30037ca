// The global-order probe holds every layer's process-wide objects, also
// those that no code of the program uses yet, so that its trace shows all of
// them.
#include "graphics/cad_color_table.h"
#include "graphics/ktrim_window.h"
#include "toolkit/common/global_data.h"

extern const void* const g_probeHeldObjects[] __attribute__((used)) = {&g_globalData, &g_CadColorTable,
                                                                       &g_TrimWindow};
