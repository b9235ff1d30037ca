#include "platform/classlib/ole_drop_target.h"

#include "platform/classlib/com_unknown.h"
#include "platform/classlib/wnd.h"

// The IDropTarget OLE calls; it hands each event to its owner while the
// owner lives.
class COleDropTarget::CDropTargetImpl : public CComUnknown<IDropTarget> {
public:
    explicit CDropTargetImpl(COleDropTarget* owner) : CComUnknown(IID_IDropTarget), m_owner(owner) {}
    void Orphan() { m_owner = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        if (!m_owner) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        m_data.Attach(data, FALSE);
        data->AddRef();
        m_held = data;
        *effect = m_owner->OnDragEnter(m_owner->m_window, &m_data, keyState, ClientPoint(point));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override
    {
        *effect = m_owner && m_held ? m_owner->OnDragOver(m_owner->m_window, &m_data, keyState, ClientPoint(point))
                                    : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (m_owner)
            m_owner->OnDragLeave(m_owner->m_window);
        Forget();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override
    {
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (m_owner) {
            m_data.Attach(data, FALSE);
            DWORD chosen = m_owner->OnDragOver(m_owner->m_window, &m_data, keyState, ClientPoint(point)) & allowed;
            if (chosen && m_owner->OnDrop(m_owner->m_window, &m_data, chosen, ClientPoint(point)))
                *effect = chosen;
            else if (!chosen)
                m_owner->OnDragLeave(m_owner->m_window);
        }
        Forget();
        return S_OK;
    }

private:
    CPoint ClientPoint(POINTL screen) const
    {
        POINT point = {screen.x, screen.y};
        if (m_owner && m_owner->m_window)
            ::ScreenToClient(m_owner->m_window->m_hWnd, &point);
        return CPoint(point.x, point.y);
    }
    void Forget()
    {
        m_data.Release();
        if (m_held)
            m_held->Release();
        m_held = nullptr;
    }

    COleDropTarget* m_owner;
    COleDataObject m_data;
    IDataObject* m_held = nullptr;
};

COleDropTarget::COleDropTarget() : m_impl(new CDropTargetImpl(this))
{
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    m_impl->Orphan();
    m_impl->Release();
}

BOOL COleDropTarget::Register(CWnd* window)
{
    Revoke();
    if (!window || !window->m_hWnd || FAILED(::RegisterDragDrop(window->m_hWnd, m_impl)))
        return FALSE;
    m_window = window;
    m_registeredWindow = window->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_registeredWindow && ::IsWindow(m_registeredWindow))
        ::RevokeDragDrop(m_registeredWindow);
    m_registeredWindow = nullptr;
    m_window = nullptr;
}

DWORD COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DWORD COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*)
{
}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return FALSE;
}
