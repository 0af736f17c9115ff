#pragma once

#include <string>
#include <string_view>

// One text of the language file (or any XML file): the text of the first element `child` found
// inside the first element `element` under the root. When the element entered has no such child,
// the search goes on in the next element named `element` among its own children, and so on
// downwards. Empty when the file cannot be loaded or no element named `element` is left to enter.
// The file is read anew on every call.
std::wstring ReadXmlValue(const std::wstring& file, std::wstring_view element,
                          std::wstring_view child);
