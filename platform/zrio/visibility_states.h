// Dynamic blocks whose inserts refer to the block definition itself: the
// definition holds the entities of every visibility state, and its
// visibility parameter (a BLOCKVISIBILITYPARAMETER object) lists the
// entities it controls and, for each state by name, those the state shows.
// An insert shows the state its extension data names (a string of its
// enhanced block data equal to a state's name), else the parameter's first
// state. Inserts of an anonymous block of one state need none of this.
#pragma once
#include "platform/zrio/dxf_model.h"

namespace zr {

// Gives such inserts (EntityExtra::derived) the handles of the block
// entities their state hides.
void ResolveVisibilityStates(Database& db);

}  // namespace zr
