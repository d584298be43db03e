#include "CWebBrowserSite.h"
#include <exdisp.h>
#include "CWebBrowser2.h"

STDMETHODIMP CWebBrowserSite::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) *object = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch || iid == __uuidof(DWebBrowserEvents2)) *object = static_cast<IDispatch*>(this);
    else return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserSite::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CWebBrowserSite::Release() {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CWebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CWebBrowserSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_host ? m_host->m_hWnd : nullptr;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP CWebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    RECT client{};
    if (m_host) m_host->GetClientRect(&client);
    *position = client;
    *clip = client;
    info->fMDIApp = FALSE;
    info->hwndFrame = m_host ? m_host->GetParent() : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserSite::OnPosRectChange(LPCRECT rect) {
    if (m_host && rect) m_host->OnPosRectChange(*rect);
    return S_OK;
}

STDMETHODIMP CWebBrowserSite::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) {
    if (result) ::VariantInit(result);
    if (m_host) m_host->OnEvent(id, params);
    return S_OK;
}
