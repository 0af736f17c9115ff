// Prints the parse throughput of CXmlDocument::SetDocumentText next to pugixml's on the same
// wide text, for a generated large document and for a language file of about 20 KB, and the
// time of a whole LoadFile of that language file (the language look-up loads it on every call).

#include "shared/xml/CXmlDocument.h"

#include <windows.h>

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// One section of a language file: nested elements, attributes in both quotes, entities,
// a comment and a CDATA section.
std::wstring Section(int n, int items) {
    std::wstring text = L"  <!-- page " + std::to_wstring(n) + L" -->\r\n";
    text +=
        L"  <PAGE" + std::to_wstring(n) + L" id=\"" + std::to_wstring(n) + L"\" kind='menu'>\r\n";
    for (int i = 0; i < items; ++i) {
        const std::wstring k = std::to_wstring(i);
        text += L"    <ITEM" + k + L" key=\"K" + k + L"\" tip='Press &amp; hold'>Button " + k +
                L" &lt;left&gt; \u00e9\u00e8 caption</ITEM" + k + L">\r\n";
    }
    text += L"    <FONT><MAIN>Segoe UI</MAIN><SIZE>9</SIZE></FONT>\r\n";
    text += L"    <NOTE><![CDATA[Raw <text> & more]]></NOTE>\r\n    <EMPTY/>\r\n";
    text += L"  </PAGE" + std::to_wstring(n) + L">\r\n";
    return text;
}

std::wstring Document(std::size_t minimumChars, int items) {
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings lang=\"en\">\r\n";
    for (int n = 0; text.size() < minimumChars; ++n)
        text += Section(n, items);
    text += L"</Strings>\r\n";
    return text;
}

// Median seconds of one run, over runs repeated for at least `budget`.
double MedianSeconds(const std::function<void()>& run, std::chrono::milliseconds budget) {
    std::vector<double> times;
    const auto end = Clock::now() + budget;
    do {
        const auto start = Clock::now();
        run();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    } while (Clock::now() < end || times.size() < 5);
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

void Compare(const char* label, const std::wstring& text, std::chrono::milliseconds budget) {
    const double megabytes = text.size() * sizeof(wchar_t) / 1e6;
    CXmlDocument doc;
    if (!doc.SetDocumentText(text))
        std::printf("  (not well-formed: %ls)\n", doc.GetStatusText().c_str());
    const double ours = MedianSeconds([&] { doc.SetDocumentText(text); }, budget);
    pugi::xml_document other;
    const auto load = [&] {
        return other.load_buffer(text.data(), text.size() * sizeof(wchar_t), pugi::parse_default,
                                 pugi::encoding_wchar);
    };
    if (!load())
        std::printf("  (pugixml: %s)\n", load().description());
    const double theirs = MedianSeconds([&] { load(); }, budget);
    std::printf("%-22s %9zu chars %7.2f MB  ours %8.1f MB/s  pugixml %8.1f MB/s  ratio %.2f\n",
                label, text.size(), megabytes, megabytes / ours, megabytes / theirs, theirs / ours);
}

} // namespace

int main() {
    std::printf("Parse of UTF-16 text: CXmlDocument::SetDocumentText against pugixml load_buffer "
                "(wchar_t mode); median of repeated runs\n");
    const std::wstring large = Document(4u << 20, 40);
    const std::wstring small = Document(20u << 10, 12);
    Compare("generated ~4M chars", large, std::chrono::milliseconds(3000));
    Compare("language file ~20K", small, std::chrono::milliseconds(2000));

    // The language file as it ships: UTF-8 with a byte-order mark.
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"v212_xml_bench_Strings.xml";
    std::string bytes = "\xEF\xBB\xBF";
    const int size = WideCharToMultiByte(CP_UTF8, 0, small.data(), static_cast<int>(small.size()),
                                         nullptr, 0, nullptr, nullptr);
    bytes.resize(3 + size);
    WideCharToMultiByte(CP_UTF8, 0, small.data(), static_cast<int>(small.size()), bytes.data() + 3,
                        size, nullptr, nullptr);
    if (std::FILE* file = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    const double load = MedianSeconds(
        [&] {
            CXmlDocument doc;
            doc.LoadFile(path);
        },
        std::chrono::milliseconds(2000));
    std::printf("LoadFile of the %zu-byte language file (UTF-8 with mark): %.1f us\n", bytes.size(),
                load * 1e6);
    DeleteFileW(path.c_str());
    return 0;
}
