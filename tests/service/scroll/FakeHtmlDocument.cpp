// Built with the C form of the COM interfaces: each fake object fills the interface's table of
// functions by name, and every function it does not fill answers E_NOTIMPL. The C++ form would
// need each of the hundreds of methods written out.
#define CINTERFACE

#include "tests/service/scroll/FakeHtmlDocument.h"

#include <mshtml.h>

#include <array>
#include <cstring>

namespace {

HRESULT STDMETHODCALLTYPE NotImplemented(void*) {
    return E_NOTIMPL;
}

// Fills every entry of a table of functions with NotImplemented.
template <class Table> Table TableOfStubs() {
    static_assert(sizeof(Table) % sizeof(void*) == 0);
    std::array<void*, sizeof(Table) / sizeof(void*)> entries;
    entries.fill(reinterpret_cast<void*>(&NotImplemented));
    Table table;
    std::memcpy(&table, entries.data(), sizeof(table));
    return table;
}

} // namespace

// One fake COM object: the table pointer first, as COM lays an object out.
struct FakeObject {
    const void* table;
    LONG references;
    FakeHtmlDocument::Objects* objects;
    const IID* interfaceId;
};

struct FakeHtmlDocument::Objects {
    DocumentShape shape;
    FakeObject document;
    FakeObject body;
    FakeObject bodyElement;
    FakeObject script;
    FakeObject window;
    std::vector<std::pair<long, long>> scrolls;
};

namespace {

FakeObject* Fake(void* object) {
    return static_cast<FakeObject*>(object);
}

ULONG STDMETHODCALLTYPE AddRef(void* self) {
    return static_cast<ULONG>(++Fake(self)->references);
}

ULONG STDMETHODCALLTYPE Release(void* self) {
    return static_cast<ULONG>(--Fake(self)->references);
}

void* Handed(FakeObject& object) {
    AddRef(&object);
    return &object;
}

HRESULT STDMETHODCALLTYPE QueryInterface(void* self, REFIID iid, void** out) {
    FakeObject& object = *Fake(self);
    FakeHtmlDocument::Objects& objects = *object.objects;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, *object.interfaceId)) {
        *out = Handed(object);
    } else if (&object == &objects.body && IsEqualIID(iid, IID_IHTMLElement2) &&
               objects.shape.scrollPosition) {
        *out = Handed(objects.bodyElement);
    } else if (&object == &objects.script && IsEqualIID(iid, IID_IHTMLWindow2) &&
               objects.shape.scriptWindow) {
        *out = Handed(objects.window);
    }
    return *out != nullptr ? S_OK : E_NOINTERFACE;
}

template <class Table> Table ObjectTable() {
    Table table = TableOfStubs<Table>();
    table.QueryInterface = reinterpret_cast<decltype(table.QueryInterface)>(&QueryInterface);
    table.AddRef = reinterpret_cast<decltype(table.AddRef)>(&AddRef);
    table.Release = reinterpret_cast<decltype(table.Release)>(&Release);
    return table;
}

HRESULT STDMETHODCALLTYPE GetBody(IHTMLDocument2* self, IHTMLElement** body) {
    FakeHtmlDocument::Objects& objects = *Fake(self)->objects;
    *body = objects.shape.body ? static_cast<IHTMLElement*>(Handed(objects.body)) : nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE GetScript(IHTMLDocument2* self, IDispatch** script) {
    FakeHtmlDocument::Objects& objects = *Fake(self)->objects;
    *script = objects.shape.script ? static_cast<IDispatch*>(Handed(objects.script)) : nullptr;
    return objects.shape.script ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE GetScrollLeft(IHTMLElement2*, long* position) {
    *position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ScrollBy(IHTMLWindow2* self, long x, long y) {
    FakeHtmlDocument::Objects& objects = *Fake(self)->objects;
    objects.scrolls.emplace_back(x, y);
    return objects.shape.scrollResult;
}

const IHTMLDocument2Vtbl kDocumentTable = [] {
    IHTMLDocument2Vtbl table = ObjectTable<IHTMLDocument2Vtbl>();
    table.get_body = &GetBody;
    table.get_Script = &GetScript;
    return table;
}();
const IHTMLElementVtbl kBodyTable = ObjectTable<IHTMLElementVtbl>();
const IHTMLElement2Vtbl kBodyElementTable = [] {
    IHTMLElement2Vtbl table = ObjectTable<IHTMLElement2Vtbl>();
    table.get_scrollLeft = &GetScrollLeft;
    return table;
}();
const IDispatchVtbl kScriptTable = ObjectTable<IDispatchVtbl>();
const IHTMLWindow2Vtbl kWindowTable = [] {
    IHTMLWindow2Vtbl table = ObjectTable<IHTMLWindow2Vtbl>();
    table.scrollBy = &ScrollBy;
    return table;
}();

} // namespace

FakeHtmlDocument::FakeHtmlDocument(DocumentShape shape) : objects_(std::make_unique<Objects>()) {
    Objects& o = *objects_;
    o.shape = shape;
    o.document = {&kDocumentTable, 1, &o, &IID_IHTMLDocument2};
    o.body = {&kBodyTable, 1, &o, &IID_IHTMLElement};
    o.bodyElement = {&kBodyElementTable, 1, &o, &IID_IHTMLElement2};
    o.script = {&kScriptTable, 1, &o, &IID_IDispatch};
    o.window = {&kWindowTable, 1, &o, &IID_IHTMLWindow2};
}

FakeHtmlDocument::~FakeHtmlDocument() = default;

void* FakeHtmlDocument::NewDocumentReference() {
    return Handed(objects_->document);
}

long FakeHtmlDocument::OutstandingReferences() const {
    const Objects& o = *objects_;
    return o.document.references + o.body.references + o.bodyElement.references +
           o.script.references + o.window.references - 5;
}

const std::vector<std::pair<long, long>>& FakeHtmlDocument::Scrolls() const {
    return objects_->scrolls;
}
