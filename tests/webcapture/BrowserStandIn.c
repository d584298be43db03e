/* A stand-in for the system's web browser control, registered under its class id in a Wine prefix
 * of the hosting test's own: this Wine has no HTML engine, so the real control renders nothing.
 * It answers what the web capture dialog asks of a browser (in-place activation, navigation,
 * its size, a document of one tall page with a body and a root element that scroll, and
 * IViewObject drawing) and writes down, one line each, what the container asked:
 *
 *   DoVerb -5 / Navigate2 <address> / put_Silent -1 / TranslateAccelerator <message> <key> /
 *   Draw <aspect> <index> / put_Width <w> / put_Height <h> / Close
 *
 * StandInLog copies those lines out. Only what a container of this program calls is answered;
 * every other method of the interfaces records "unexpected" and fails (its arguments are not
 * known, so on 32-bit Windows such a call would also spoil the stack: it must never happen).
 * Written in C, where the interfaces are plain tables of functions. */
#define COBJMACROS
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <oleidl.h>
#include <wchar.h>

/* {8856F961-340A-11D0-A96B-00C04FD705A2} */
static const CLSID kWebBrowserClassId = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

/* The page: a body taller than any view, scrolled through its root element. */
enum { kPageWidth = 700, kPageHeight = 3000 };
/* What Draw paints, so that the test can find it in the captured picture. */
#define STANDIN_PAGE_COLOUR RGB(12, 34, 56)

static wchar_t g_log[16384];
static LONG g_width, g_height, g_scrollTop, g_scrollLeft;

static void Record(const wchar_t* format, ...) {
    size_t used = wcslen(g_log);
    if (used + 200 >= sizeof(g_log) / sizeof(g_log[0])) return;
    va_list args;
    va_start(args, format);
    vswprintf(g_log + used, sizeof(g_log) / sizeof(g_log[0]) - used - 1, format, args);
    va_end(args);
    wcscat(g_log, L"\n");
}

__declspec(dllexport) int __cdecl StandInLog(wchar_t* out, int size) {
    if (!out || size <= 0) return (int)wcslen(g_log);
    lstrcpynW(out, g_log, size);
    return (int)wcslen(out);
}

static HRESULT STDMETHODCALLTYPE Unexpected(void* self) {
    (void)self;
    Record(L"unexpected");
    return E_NOTIMPL;
}

/* Every slot of a table first answers "unexpected"; the methods a container calls are set over
 * them. SET type-checks the function against the slot. */
static void FillUnexpected(void* table, size_t bytes) {
    void** slots = (void**)table;
    for (size_t i = 0; i < bytes / sizeof(void*); ++i) slots[i] = (void*)Unexpected;
}
#define SET(table, slot, function) ((table).slot = (__typeof__((table).slot))(function))

/* One static object per role; each shows several interfaces, one "face" each. */
typedef struct {
    const void* vtbl;
} Face;

static Face g_factory, g_oleObject, g_inPlace, g_active, g_browser;  /* the control */
static Face g_document, g_document3, g_view;                           /* its document */
static Face g_body, g_bodyText;                                        /* the page's body */
static Face g_root, g_root2;                                           /* its root element */

static ULONG STDMETHODCALLTYPE AddRefAny(void* self) {
    (void)self;
    return 2;
}
static ULONG STDMETHODCALLTYPE ReleaseAny(void* self) {
    (void)self;
    return 1;
}

static HRESULT Give(void** out, Face* face) {
    *out = face;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE ControlQueryInterface(void* self, REFIID iid, void** out) {
    (void)self;
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IOleObject)) return Give(out, &g_oleObject);
    if (IsEqualIID(iid, &IID_IOleInPlaceObject) || IsEqualIID(iid, &IID_IOleWindow)) return Give(out, &g_inPlace);
    if (IsEqualIID(iid, &IID_IOleInPlaceActiveObject)) return Give(out, &g_active);
    if (IsEqualIID(iid, &IID_IWebBrowser2) || IsEqualIID(iid, &IID_IWebBrowserApp) ||
        IsEqualIID(iid, &IID_IWebBrowser) || IsEqualIID(iid, &IID_IDispatch))
        return Give(out, &g_browser);
    return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE DocumentQueryInterface(void* self, REFIID iid, void** out) {
    (void)self;
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLDocument) ||
        IsEqualIID(iid, &IID_IHTMLDocument2))
        return Give(out, &g_document);
    if (IsEqualIID(iid, &IID_IHTMLDocument3)) return Give(out, &g_document3);
    if (IsEqualIID(iid, &IID_IViewObject)) return Give(out, &g_view);
    return E_NOINTERFACE;
}

/* The body is a BODY element (the container only asks whether it is one) that holds text. */
static HRESULT STDMETHODCALLTYPE BodyQueryInterface(void* self, REFIID iid, void** out) {
    (void)self;
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLElement) ||
        IsEqualIID(iid, &IID_IHTMLBodyElement))
        return Give(out, &g_body);
    if (IsEqualIID(iid, &IID_IHTMLTextContainer)) return Give(out, &g_bodyText);
    return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE RootQueryInterface(void* self, REFIID iid, void** out) {
    (void)self;
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLElement))
        return Give(out, &g_root);
    if (IsEqualIID(iid, &IID_IHTMLElement2)) return Give(out, &g_root2);
    return E_NOINTERFACE;
}

/* --- The control: IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IWebBrowser2. */

static void TakeRect(LPCRECT rect) {
    if (!rect) return;
    g_width = rect->right - rect->left;
    g_height = rect->bottom - rect->top;
}

static HRESULT STDMETHODCALLTYPE SetClientSite(IOleObject* self, IOleClientSite* site) {
    (void)self;
    (void)site;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE DoVerb(IOleObject* self, LONG verb, LPMSG msg, IOleClientSite* site, LONG index,
                                        HWND parent, LPCRECT rect) {
    (void)self, (void)msg, (void)site, (void)index, (void)parent;
    Record(L"DoVerb %ld", verb);
    TakeRect(rect);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE CloseObject(IOleObject* self, DWORD option) {
    (void)self, (void)option;
    Record(L"Close");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE InPlaceDeactivate(IOleInPlaceObject* self) {
    (void)self;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE SetObjectRects(IOleInPlaceObject* self, LPCRECT position, LPCRECT clip) {
    (void)self, (void)clip;
    TakeRect(position);
    return S_OK;
}

/* The page takes every key the container offers it. */
static HRESULT STDMETHODCALLTYPE TranslateAcceleratorStandIn(IOleInPlaceActiveObject* self, LPMSG msg) {
    (void)self;
    if (!msg) return E_POINTER;
    Record(L"TranslateAccelerator %u %u", msg->message, (unsigned)msg->wParam);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Navigate2(IWebBrowser2* self, VARIANT* url, VARIANT* flags, VARIANT* frame,
                                           VARIANT* post, VARIANT* headers) {
    (void)self, (void)frame, (void)post, (void)headers;
    Record(L"Navigate2 %ls %ld", url && url->vt == VT_BSTR && url->bstrVal ? url->bstrVal : L"?",
           flags && flags->vt == VT_I4 ? flags->lVal : -1L);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GoBackOrForward(IWebBrowser2* self) {
    (void)self;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE PutSilent(IWebBrowser2* self, VARIANT_BOOL silent) {
    (void)self;
    Record(L"put_Silent %d", (int)silent);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetLocationUrl(IWebBrowser2* self, BSTR* url) {
    (void)self;
    if (!url) return E_POINTER;
    *url = SysAllocString(L"file:///C:/standin/page.html");
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetWidth(IWebBrowser2* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = g_width;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetHeight(IWebBrowser2* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = g_height;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE PutWidth(IWebBrowser2* self, LONG value) {
    (void)self;
    Record(L"put_Width %ld", value);
    g_width = value;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE PutHeight(IWebBrowser2* self, LONG value) {
    (void)self;
    Record(L"put_Height %ld", value);
    g_height = value;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetDocument(IWebBrowser2* self, IDispatch** document) {
    (void)self;
    if (!document) return E_POINTER;
    *document = (IDispatch*)&g_document;
    return S_OK;
}

/* --- The document, its body and its root element. */

static HRESULT STDMETHODCALLTYPE GetBody(IHTMLDocument2* self, IHTMLElement** body) {
    (void)self;
    if (!body) return E_POINTER;
    *body = (IHTMLElement*)&g_body;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetFrames(IHTMLDocument2* self, IHTMLFramesCollection2** frames) {
    (void)self;
    if (frames) *frames = NULL;
    return E_NOTIMPL;  /* no frames: the page alone */
}
static HRESULT STDMETHODCALLTYPE GetDocumentElement(IHTMLDocument3* self, IHTMLElement** root) {
    (void)self;
    if (!root) return E_POINTER;
    *root = (IHTMLElement*)&g_root;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE Draw(IViewObject* self, DWORD aspect, LONG index, void* aspectData,
                                      DVTARGETDEVICE* target, HDC targetDc, HDC dc, LPCRECTL bounds,
                                      LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR),
                                      ULONG_PTR keepGoingArgument) {
    (void)self, (void)aspectData, (void)target, (void)targetDc, (void)bounds, (void)windowBounds, (void)keepGoing,
        (void)keepGoingArgument;
    Record(L"Draw %lu %ld", aspect, index);
    RECT page = {0, 0, 100, 100};
    HBRUSH brush = CreateSolidBrush(STANDIN_PAGE_COLOUR);
    FillRect(dc, &page, brush);
    DeleteObject(brush);
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetScrollWidth(IHTMLTextContainer* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = kPageWidth;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetScrollHeight(IHTMLTextContainer* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = kPageHeight;
    return S_OK;
}
/* The page clamps what is set: it scrolls down by what it is taller than the view, not across. */
static HRESULT STDMETHODCALLTYPE PutScrollTop(IHTMLElement2* self, LONG value) {
    (void)self;
    const LONG most = kPageHeight > g_height ? kPageHeight - g_height : 0;
    g_scrollTop = value < 0 ? 0 : value > most ? most : value;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetScrollTop(IHTMLElement2* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = g_scrollTop;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE PutScrollLeft(IHTMLElement2* self, LONG value) {
    (void)self, (void)value;
    g_scrollLeft = 0;
    return S_OK;
}
static HRESULT STDMETHODCALLTYPE GetScrollLeft(IHTMLElement2* self, LONG* value) {
    (void)self;
    if (!value) return E_POINTER;
    *value = g_scrollLeft;
    return S_OK;
}

/* --- The class factory and the tables. */

static HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* self, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IClassFactory)) return Give(out, (Face*)self);
    return E_NOINTERFACE;
}
static HRESULT STDMETHODCALLTYPE CreateInstance(IClassFactory* self, IUnknown* outer, REFIID iid, void** out) {
    (void)self;
    if (outer) return CLASS_E_NOAGGREGATION;
    g_width = g_height = g_scrollTop = g_scrollLeft = 0;
    return ControlQueryInterface(NULL, iid, out);
}
static HRESULT STDMETHODCALLTYPE LockServer(IClassFactory* self, BOOL lock) {
    (void)self, (void)lock;
    return S_OK;
}

static IClassFactoryVtbl g_factoryTable;
static IOleObjectVtbl g_oleObjectTable;
static IOleInPlaceObjectVtbl g_inPlaceTable;
static IOleInPlaceActiveObjectVtbl g_activeTable;
static IWebBrowser2Vtbl g_browserTable;
static IHTMLDocument2Vtbl g_documentTable;
static IHTMLDocument3Vtbl g_document3Table;
static IViewObjectVtbl g_viewTable;
static IHTMLElementVtbl g_bodyTable;
static IHTMLTextContainerVtbl g_bodyTextTable;
static IHTMLElementVtbl g_rootTable;
static IHTMLElement2Vtbl g_root2Table;

#define UNKNOWN(table, query)             \
    FillUnexpected(&(table), sizeof(table)); \
    SET(table, QueryInterface, query);    \
    SET(table, AddRef, AddRefAny);        \
    SET(table, Release, ReleaseAny)

static void BuildTables(void) {
    static BOOL built = FALSE;
    if (built) return;
    built = TRUE;
    UNKNOWN(g_factoryTable, FactoryQueryInterface);
    SET(g_factoryTable, CreateInstance, CreateInstance);
    SET(g_factoryTable, LockServer, LockServer);
    g_factory.vtbl = &g_factoryTable;

    UNKNOWN(g_oleObjectTable, ControlQueryInterface);
    SET(g_oleObjectTable, SetClientSite, SetClientSite);
    SET(g_oleObjectTable, DoVerb, DoVerb);
    SET(g_oleObjectTable, Close, CloseObject);
    g_oleObject.vtbl = &g_oleObjectTable;
    UNKNOWN(g_inPlaceTable, ControlQueryInterface);
    SET(g_inPlaceTable, InPlaceDeactivate, InPlaceDeactivate);
    SET(g_inPlaceTable, SetObjectRects, SetObjectRects);
    g_inPlace.vtbl = &g_inPlaceTable;
    UNKNOWN(g_activeTable, ControlQueryInterface);
    SET(g_activeTable, TranslateAccelerator, TranslateAcceleratorStandIn);
    g_active.vtbl = &g_activeTable;
    UNKNOWN(g_browserTable, ControlQueryInterface);
    SET(g_browserTable, Navigate2, Navigate2);
    SET(g_browserTable, GoBack, GoBackOrForward);
    SET(g_browserTable, GoForward, GoBackOrForward);
    SET(g_browserTable, put_Silent, PutSilent);
    SET(g_browserTable, get_LocationURL, GetLocationUrl);
    SET(g_browserTable, get_Width, GetWidth);
    SET(g_browserTable, get_Height, GetHeight);
    SET(g_browserTable, put_Width, PutWidth);
    SET(g_browserTable, put_Height, PutHeight);
    SET(g_browserTable, get_Document, GetDocument);
    g_browser.vtbl = &g_browserTable;

    UNKNOWN(g_documentTable, DocumentQueryInterface);
    SET(g_documentTable, get_body, GetBody);
    SET(g_documentTable, get_frames, GetFrames);
    g_document.vtbl = &g_documentTable;
    UNKNOWN(g_document3Table, DocumentQueryInterface);
    SET(g_document3Table, get_documentElement, GetDocumentElement);
    g_document3.vtbl = &g_document3Table;
    UNKNOWN(g_viewTable, DocumentQueryInterface);
    SET(g_viewTable, Draw, Draw);
    g_view.vtbl = &g_viewTable;

    UNKNOWN(g_bodyTable, BodyQueryInterface);
    g_body.vtbl = &g_bodyTable;
    UNKNOWN(g_bodyTextTable, BodyQueryInterface);
    SET(g_bodyTextTable, get_scrollWidth, GetScrollWidth);
    SET(g_bodyTextTable, get_scrollHeight, GetScrollHeight);
    g_bodyText.vtbl = &g_bodyTextTable;

    UNKNOWN(g_rootTable, RootQueryInterface);
    g_root.vtbl = &g_rootTable;
    UNKNOWN(g_root2Table, RootQueryInterface);
    SET(g_root2Table, put_scrollTop, PutScrollTop);
    SET(g_root2Table, get_scrollTop, GetScrollTop);
    SET(g_root2Table, put_scrollLeft, PutScrollLeft);
    SET(g_root2Table, get_scrollLeft, GetScrollLeft);
    g_root2.vtbl = &g_root2Table;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = NULL;
    if (!IsEqualCLSID(clsid, &kWebBrowserClassId)) return CLASS_E_CLASSNOTAVAILABLE;
    BuildTables();
    return FactoryQueryInterface((IClassFactory*)&g_factory, iid, out);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow(void) {
    return S_FALSE;  /* the log must outlive every object */
}
