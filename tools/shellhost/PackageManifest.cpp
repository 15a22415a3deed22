// Reads the manifest with the platform's XML parser and matches elements by namespace and local name, so that
// the prefixes the manifest chose do not matter.
#include "PackageManifest.h"

#include "HostError.h"
#include "tools/ToolText.h"
#include "win32/Handles.h"

#include <msxml2.h>

#include <vector>

// The headers name these interfaces' identifiers but do not tie them to the types, as IID_PPV_ARGS needs.
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933BF81, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933BF86, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)

namespace Host {

namespace {

// MSXML 3's document, which Windows and Wine both have; the import libraries do not carry its identifier.
constexpr CLSID DomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
constexpr wchar_t ComNamespace[] = L"http://schemas.microsoft.com/appx/manifest/com/windows10";
constexpr wchar_t MenuNamespace[] = L"http://schemas.microsoft.com/appx/manifest/desktop/windows10/5";

struct TElement {
  std::wstring Namespace, Name;
  Win32::TComRef<IXMLDOMElement> Node;
};

std::wstring Taken(BSTR text) {
  Win32::TBString owned(text);
  return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

std::wstring Attribute(const TElement& element, const wchar_t* name) {
  VARIANT value;
  ::VariantInit(&value);
  Win32::TBString attributeName(::SysAllocString(name));
  if (element.Node->getAttribute(attributeName.get(), &value) != S_OK || value.vt != VT_BSTR) return {};
  return Taken(value.bstrVal);
}

Win32::TComRef<IXMLDOMDocument> LoadDocument(const std::wstring& path) {
  Win32::TComRef<IXMLDOMDocument> document;
  CheckCall(::CoCreateInstance(DomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(document.put())),
            "creating the XML parser", TExitCode::ecUnexpected);
  document->put_async(VARIANT_FALSE);
  VARIANT source;
  ::VariantInit(&source);
  source.vt = VT_BSTR;
  source.bstrVal = ::SysAllocString(path.c_str());
  Win32::TBString sourceText(source.bstrVal);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  if (document->load(source, &loaded) != S_OK || !loaded)
    throw EHostError(TExitCode::ecNoSuchPath, "Cannot read the package manifest " + Tools::Utf8(path));
  return document;
}

std::vector<TElement> Elements(IXMLDOMDocument* document) {
  Win32::TComRef<IXMLDOMNodeList> list;
  Win32::TBString all(::SysAllocString(L"*"));
  CheckCall(document->getElementsByTagName(all.get(), list.put()), "reading the manifest", TExitCode::ecUnexpected);
  std::vector<TElement> elements;
  for (;;) {
    Win32::TComRef<IXMLDOMNode> node;
    if (list->nextNode(node.put()) != S_OK || !node) break;
    TElement element;
    BSTR text = nullptr;
    node->get_namespaceURI(&text);
    element.Namespace = Taken(text);
    text = nullptr;
    node->get_baseName(&text);
    element.Name = Taken(text);
    node->QueryInterface(IID_PPV_ARGS(element.Node.put()));
    if (element.Node) elements.push_back(std::move(element));
  }
  return elements;
}

// Manifests write class identifiers without the braces that CLSIDFromString needs.
bool ParseClass(std::wstring text, CLSID& classId) {
  if (!text.starts_with(L"{")) text = L"{" + text + L"}";
  return ::CLSIDFromString(text.c_str(), &classId) == NOERROR;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

[[noreturn]] void Missing(const std::wstring& manifest, const std::string& what) {
  throw EHostError(TExitCode::ecNoHandler, Tools::Utf8(manifest) + " registers no " + what);
}

}  // namespace

TManifestCommand ReadManifestCommand(const std::wstring& manifestPath) {
  Win32::TComRef<IXMLDOMDocument> document = LoadDocument(manifestPath);
  std::vector<TElement> elements = Elements(document.get());
  TManifestCommand command;
  std::wstring verbClass;
  for (const TElement& element : elements) {
    if (element.Namespace == MenuNamespace && element.Name == L"ItemType" && command.ItemType.empty())
      command.ItemType = Attribute(element, L"Type");
    if (element.Namespace == MenuNamespace && element.Name == L"Verb" && command.Verb.empty()) {
      command.Verb = Attribute(element, L"Id");
      verbClass = Attribute(element, L"Clsid");
    }
  }
  if (command.Verb.empty() || !ParseClass(verbClass, command.Class))
    Missing(manifestPath, "context-menu verb with a class");
  for (const TElement& element : elements) {
    CLSID classId{};
    if (element.Namespace != ComNamespace || element.Name != L"Class") continue;
    if (!ParseClass(Attribute(element, L"Id"), classId) || classId != command.Class) continue;
    command.Library = FolderOf(manifestPath) + Attribute(element, L"Path");
    return command;
  }
  Missing(manifestPath, "server for the verb's class " + Tools::Utf8(verbClass));
}

}  // namespace Host
