#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

// What a fake browser document offers.
struct DocumentShape {
    bool body = true;
    bool scrollPosition = true;
    bool script = true;
    bool scriptWindow = true;
    HRESULT scrollResult = S_OK;
};

// A browser document made of fake COM objects (document, body, script window) that counts the
// references handed out and records the scrolls asked of it.
class FakeHtmlDocument {
public:
    explicit FakeHtmlDocument(DocumentShape shape);
    ~FakeHtmlDocument();
    FakeHtmlDocument(const FakeHtmlDocument&) = delete;
    FakeHtmlDocument& operator=(const FakeHtmlDocument&) = delete;

    // The document as IHTMLDocument2, with a new reference for the caller.
    void* NewDocumentReference();
    // References handed out and not yet released, over all of the document's objects.
    long OutstandingReferences() const;
    const std::vector<std::pair<long, long>>& Scrolls() const;

    struct Objects;

private:
    std::unique_ptr<Objects> objects_;
};
