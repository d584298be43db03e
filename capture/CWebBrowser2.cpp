#include "CWebBrowser2.h"
#include <ocidl.h>
#include <oleidl.h>
#include "CWebBrowserSite.h"
#include "MessageArgs.h"

namespace {
// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kWebBrowserClassId = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const wchar_t kHostClass[] = L"TovrixWebBrowserHost";

// The browser's events by dispatch id, and its command-state ids.
constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kCommandStateChange = 105;
constexpr long kCommandForward = 1;
constexpr long kCommandBack = 2;

template <typename To, typename From>
CUniqueComPtr<To> QueryAs(From* from) {
    CUniqueComPtr<To> to;
    if (from) from->QueryInterface(__uuidof(To), to.put_void());
    return to;
}

// An argument of an event, counted from the first as declared (they arrive in reverse order);
// by reference or by value.
const VARIANT* Argument(const DISPPARAMS* params, UINT index) {
    if (!params || index >= params->cArgs) return nullptr;
    const VARIANT* v = &params->rgvarg[params->cArgs - 1 - index];
    if (v->vt == (VT_VARIANT | VT_BYREF)) v = v->pvarVal;
    return v;
}
long LongOf(const VARIANT* v) {
    if (!v) return 0;
    if (v->vt == VT_I4) return v->lVal;
    if (v->vt == (VT_I4 | VT_BYREF)) return *v->plVal;
    VARIANT converted;
    ::VariantInit(&converted);
    long value = 0;
    if (SUCCEEDED(::VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_I4))) value = converted.lVal;
    ::VariantClear(&converted);
    return value;
}
bool BoolOf(const VARIANT* v) {
    if (!v) return false;
    if (v->vt == VT_BOOL) return v->boolVal != VARIANT_FALSE;
    if (v->vt == (VT_BOOL | VT_BYREF)) return *v->pboolVal != VARIANT_FALSE;
    return LongOf(v) != 0;
}
}  // namespace

CWebBrowser2::CWebBrowser2() = default;

CWebBrowser2::~CWebBrowser2() {
    CloseControl();
    if (IsWindow()) DestroyWindow();
}

BOOL CWebBrowser2::Create(HWND parent, const RECT& place, UINT id) {
    if (!RegisterClass(kHostClass, 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return FALSE;
    if (!CreateEx(0, kHostClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, place.left,
                  place.top, place.right - place.left, place.bottom - place.top, parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    if (!ActivateControl()) {
        CloseControl();
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

bool CWebBrowser2::ActivateControl() {
    if (FAILED(::CoCreateInstance(kWebBrowserClassId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IOleObject),
                                  m_object.put_void())))
        return false;
    m_site = new CWebBrowserSite(this);
    if (FAILED(m_object->SetClientSite(m_site))) return false;
    RECT client{};
    GetClientRect(&client);
    if (FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site, 0, m_hWnd, &client))) return false;
    m_inPlace = QueryAs<IOleInPlaceObject>(m_object.get());
    m_active = QueryAs<IOleInPlaceActiveObject>(m_object.get());
    m_browser = QueryAs<IWebBrowser2>(m_object.get());
    if (!m_browser) return false;
    // Silent: a page's script errors and the control's other boxes would stop the user at every
    // page of today's web; the capture needs none of them.
    m_browser->put_Silent(VARIANT_TRUE);

    // The events come through the control's connection point for its event interface.
    if (auto points = QueryAs<IConnectionPointContainer>(m_object.get())) {
        if (SUCCEEDED(points->FindConnectionPoint(__uuidof(DWebBrowserEvents2), m_eventSource.put())) &&
            FAILED(m_eventSource->Advise(static_cast<IDispatch*>(m_site), &m_eventCookie))) {
            m_eventSource.reset();
        }
    }
    return true;
}

void CWebBrowser2::CloseControl() {
    m_events = nullptr;
    if (m_eventSource) {
        m_eventSource->Unadvise(m_eventCookie);
        m_eventSource.reset();
    }
    m_browser.reset();
    m_active.reset();
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        m_inPlace.reset();
    }
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        m_object.reset();
    }
    if (m_site) {
        m_site->Forget();
        m_site->Release();
        m_site = nullptr;
    }
}

LRESULT CWebBrowser2::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (m_inPlace) {
            const SizeArgs size = SizeArgsFrom(wParam, lParam);
            RECT client{0, 0, size.width, size.height};
            m_inPlace->SetObjectRects(&client, &client);
        }
        break;
    case WM_DESTROY:
        CloseControl();
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CWebBrowser2::OnPosRectChange(const RECT& rect) {
    // The control asks for the size it was given through its width and height: it may grow
    // beyond the host window, which then shows only its top-left part.
    if (m_inPlace) m_inPlace->SetObjectRects(&rect, &rect);
}

void CWebBrowser2::OnEvent(DISPID id, DISPPARAMS* params) {
    if (!m_events) return;
    switch (id) {
    case kBeforeNavigate2:
        m_events->OnBeforeNavigate();
        break;
    case kNavigateComplete2:
        m_events->OnNavigateComplete();
        break;
    case kCommandStateChange: {
        const long command = LongOf(Argument(params, 0));
        const bool enable = BoolOf(Argument(params, 1));
        if (command == kCommandForward) m_events->OnForwardEnabled(enable);
        else if (command == kCommandBack) m_events->OnBackEnabled(enable);
        break;
    }
    }
}

HRESULT CWebBrowser2::Navigate(const std::wstring& address) {
    if (!m_browser) return E_FAIL;
    VARIANT url, flags, empty;
    ::VariantInit(&url);
    ::VariantInit(&flags);
    ::VariantInit(&empty);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(address.c_str());
    flags.vt = VT_I4;
    flags.lVal = navNoHistory | navNoReadFromCache | navNoWriteToCache;
    const HRESULT result = m_browser->Navigate2(&url, &flags, &empty, &empty, &empty);
    ::VariantClear(&url);
    return result;
}

HRESULT CWebBrowser2::GoBack() {
    return m_browser ? m_browser->GoBack() : E_FAIL;
}

HRESULT CWebBrowser2::GoForward() {
    return m_browser ? m_browser->GoForward() : E_FAIL;
}

std::wstring CWebBrowser2::GetLocationURL() {
    std::wstring address;
    BSTR text = nullptr;
    if (m_browser && SUCCEEDED(m_browser->get_LocationURL(&text)) && text) address = text;
    ::SysFreeString(text);
    return address;
}

bool CWebBrowser2::GetViewSize(SIZE& size) {
    long width = 0, height = 0;
    if (!m_browser || FAILED(m_browser->get_Width(&width)) || FAILED(m_browser->get_Height(&height)))
        return false;
    size = SIZE{width, height};
    return true;
}

bool CWebBrowser2::SetViewSize(SIZE size) {
    return m_browser && SUCCEEDED(m_browser->put_Width(size.cx)) && SUCCEEDED(m_browser->put_Height(size.cy));
}

CUniqueComPtr<IHTMLDocument2> CWebBrowser2::GetDocument(int document) {
    CUniqueComPtr<IHTMLDocument2> page;
    if (!m_browser || document < 0) return page;
    CUniqueComPtr<IDispatch> dispatch;
    if (FAILED(m_browser->get_Document(dispatch.put())) || !dispatch) return page;
    page = QueryAs<IHTMLDocument2>(dispatch.get());
    if (document == 0 || !page) return page;

    CUniqueComPtr<IHTMLFramesCollection2> frames;
    CUniqueComPtr<IHTMLDocument2> frameDocument;
    if (FAILED(page->get_frames(frames.put())) || !frames) return frameDocument;
    VARIANT index, item;
    ::VariantInit(&index);
    ::VariantInit(&item);
    index.vt = VT_I4;
    index.lVal = document - 1;
    if (SUCCEEDED(frames->item(&index, &item)) && item.vt == VT_DISPATCH && item.pdispVal) {
        if (auto window = QueryAs<IHTMLWindow2>(item.pdispVal)) window->get_document(frameDocument.put());
    }
    ::VariantClear(&item);
    return frameDocument;
}

int CWebBrowser2::GetDocumentCount() {
    auto page = GetDocument(0);
    if (!page) return 0;
    CUniqueComPtr<IHTMLFramesCollection2> frames;
    long length = 0;
    if (SUCCEEDED(page->get_frames(frames.put())) && frames && SUCCEEDED(frames->get_length(&length)) && length > 0)
        return 1 + static_cast<int>(length);
    return 1;
}

bool CWebBrowser2::GetBodyScrollSize(int document, SIZE& size) {
    auto doc = GetDocument(document);
    if (!doc) return false;
    CUniqueComPtr<IHTMLElement> body;
    if (FAILED(doc->get_body(body.put())) || !body) return false;
    // The page's own body must be a BODY (a frameset is not); a frame's only needs to hold text.
    if (document == 0 && !QueryAs<IHTMLBodyElement>(body.get())) return false;
    auto text = QueryAs<IHTMLTextContainer>(body.get());
    if (!text) return false;
    long width = 0, height = 0;
    if (FAILED(text->get_scrollWidth(&width)) || FAILED(text->get_scrollHeight(&height))) return false;
    size = SIZE{width, height};
    return true;
}

CUniqueComPtr<IHTMLElement2> CWebBrowser2::GetRootElement(int document) {
    CUniqueComPtr<IHTMLElement2> root;
    auto doc3 = QueryAs<IHTMLDocument3>(GetDocument(document).get());
    CUniqueComPtr<IHTMLElement> element;
    if (doc3 && SUCCEEDED(doc3->get_documentElement(element.put())) && element)
        root = QueryAs<IHTMLElement2>(element.get());
    return root;
}

bool CWebBrowser2::GetScrollPosition(int document, POINT& position) {
    auto root = GetRootElement(document);
    long left = 0, top = 0;
    if (!root || FAILED(root->get_scrollLeft(&left)) || FAILED(root->get_scrollTop(&top))) return false;
    position = POINT{left, top};
    return true;
}

bool CWebBrowser2::SetScrollPosition(int document, POINT position) {
    auto root = GetRootElement(document);
    return root && SUCCEEDED(root->put_scrollTop(position.y)) && SUCCEEDED(root->put_scrollLeft(position.x));
}

HRESULT CWebBrowser2::RenderView(HDC dc) {
    auto view = QueryAs<IViewObject>(GetDocument(0).get());
    if (!view) return E_NOINTERFACE;
    // Index -1: the whole of the content aspect, as the interface documents it.
    return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0);
}

bool CWebBrowser2::TranslateKey(MSG* msg) {
    return m_active && msg && m_active->TranslateAccelerator(msg) == S_OK;
}
