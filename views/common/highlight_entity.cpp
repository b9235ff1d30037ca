#include "views/common/highlight_entity.h"

#include "core/preference.h"
#include "views/common/idle_use.h"
#include "views/common/view_state.h"

bool MayHighlightEntity(TDwgDrawThread* thread)
{
    if (thread == NULL || !thread->GetViewFlag())
        return false;
    CIdleUse use(thread);
    ZrApp::View* view = use.View();
    return view != NULL && view->canHighlight();
}

bool WantsHighlight(TDwgDrawThread* thread)
{
    return Preference.GetHighLight() && MayHighlightEntity(thread);
}

void ToggleHighlightEntity()
{
    Preference.SetHighLight(!Preference.GetHighLight());
}

void UpdateHighlightEntity(CCmdUI* cmdUI)
{
    cmdUI->Enable(MayHighlightEntity(GetIdleDrawThread()));
    cmdUI->SetCheck(Preference.GetHighLight() ? 1 : 0);
}
