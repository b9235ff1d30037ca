#include "platform/classlib/msgmap.h"
#include "platform/classlib/cmdtarget.h"

static bool EntryMatches(const MessageMapEntry& entry, UINT message, UINT code, UINT id)
{
    if (entry.registeredMessage) {
        if (*entry.registeredMessage != message)
            return false;
    } else if (entry.message != message) {
        return false;
    }
    return entry.code == code && entry.firstId <= id && id <= entry.lastId;
}

const MessageMapEntry* FindEntryInMap(const MessageMap* map, UINT message, UINT code, UINT id)
{
    for (const MessageMapEntry* entry = map->entries; entry->invoke; ++entry) {
        if (EntryMatches(*entry, message, code, id))
            return entry;
    }
    return nullptr;
}

const MessageMapEntry* FindMessageEntry(const MessageMap* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->getBaseMap ? map->getBaseMap() : nullptr) {
        if (const MessageMapEntry* entry = FindEntryInMap(map, message, code, id))
            return entry;
    }
    return nullptr;
}

namespace msgsig {

BOOL CMD_V(CCmdTarget* target, AFX_PMSG handler, MessageCall&)
{
    (target->*As<void (CCmdTarget::*)()>(handler))();
    return TRUE;
}

BOOL CMD_V_ID(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    (target->*As<void (CCmdTarget::*)(UINT)>(handler))(call.id);
    return TRUE;
}

BOOL CMD_B(CCmdTarget* target, AFX_PMSG handler, MessageCall&)
{
    return (target->*As<BOOL (CCmdTarget::*)()>(handler))();
}

BOOL CMD_B_ID(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    return (target->*As<BOOL (CCmdTarget::*)(UINT)>(handler))(call.id);
}

// An update handler that calls CCmdUI::ContinueRouting lets the request go on.
BOOL CMD_UI(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    CCmdUI* state = static_cast<CCmdUI*>(call.extra);
    state->m_bContinueRouting = FALSE;
    (target->*As<void (CCmdTarget::*)(CCmdUI*)>(handler))(state);
    return !state->m_bContinueRouting;
}

BOOL NOTIFY(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(call.extra);
    (target->*As<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(handler))(notify->pNMHDR, notify->pResult);
    return TRUE;
}

BOOL NOTIFY_ID(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(call.extra);
    (target->*As<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(handler))(call.id, notify->pNMHDR,
                                                                          notify->pResult);
    return TRUE;
}

BOOL NOTIFY_B(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(call.extra);
    return (target->*As<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(handler))(notify->pNMHDR,
                                                                          notify->pResult);
}

BOOL NOTIFY_B_ID(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(call.extra);
    return (target->*As<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(handler))(
        call.id, notify->pNMHDR, notify->pResult);
}

}  // namespace msgsig
