// The built package manifest against the built library: the class that the menu's verb and the COM server name,
// the library's file name and its version.
#include "shell/Identities.h"
#include "win32/Handles.h"
#include "win32/ComText.h"
#include "win32/Module.h"

#include "tools/ServerModule.h"

#include <gtest/gtest.h>

#include <shlwapi.h>
#include <xmllite.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const wchar_t Foundation[] = L"http://schemas.microsoft.com/appx/manifest/foundation/windows10";
const wchar_t Desktop5[] = L"http://schemas.microsoft.com/appx/manifest/desktop/windows10/5";
const wchar_t Com[] = L"http://schemas.microsoft.com/appx/manifest/com/windows10";

fs::path ThisFolder() { return fs::path(Win32::ModulePath()).parent_path(); }

fs::path BuiltLibrary() { return ThisFolder().parent_path() / "tarnctx.dll"; }

// The registry form of a class identifier without its braces, as manifests write it.
std::wstring ManifestText(const GUID& id) { return Win32::ClassIdText(id).substr(1, 36); }

struct TElement {
  std::wstring Namespace, Name;
  std::map<std::wstring, std::wstring> Attributes;
};

// Every element of an XML file with its attributes, read by the platform's XmlLite, which the import library
// of MinGW-w64 lacks: reached through its export.
class TXmlElements {
public:
  explicit TXmlElements(const fs::path& path) {
    Win32::TLibrary xmllite(::LoadLibraryW(L"xmllite.dll"));
    auto create = reinterpret_cast<decltype(&CreateXmlReader)>(
        reinterpret_cast<void*>(::GetProcAddress(xmllite.get(), "CreateXmlReader")));
    Win32::TComRef<IStream> stream;
    Win32::TComRef<IXmlReader> reader;
    if (!create || FAILED(::SHCreateStreamOnFileW(path.c_str(), STGM_READ, stream.put())) ||
        FAILED(create(IID_PPV_ARGS(reader.put()), nullptr)))
      throw std::runtime_error("cannot read " + path.string());
    IXmlReader* xml = reader.get();
    if (FAILED(xml->SetInput(stream.get()))) throw std::runtime_error("cannot read " + path.string());
    XmlNodeType type;
    while (xml->Read(&type) == S_OK)
      if (type == XmlNodeType_Element) FElements.push_back(Element(xml));
  }

  // The one element of this name; an empty one when there is none or more than one.
  TElement One(const wchar_t* space, const wchar_t* name) const {
    std::vector<TElement> found;
    for (const TElement& element : FElements)
      if (element.Namespace == space && element.Name == name) found.push_back(element);
    return found.size() == 1 ? found.front() : TElement{};
  }

private:
  static std::wstring Text(IXmlReader* reader, HRESULT (STDMETHODCALLTYPE IXmlReader::*get)(LPCWSTR*, UINT*)) {
    LPCWSTR text = nullptr;
    UINT length = 0;
    (reader->*get)(&text, &length);
    return text ? std::wstring(text, length) : std::wstring();
  }

  static TElement Element(IXmlReader* reader) {
    TElement element{Text(reader, &IXmlReader::GetNamespaceUri), Text(reader, &IXmlReader::GetLocalName), {}};
    for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK; more = reader->MoveToNextAttribute())
      element.Attributes[Text(reader, &IXmlReader::GetLocalName)] = Text(reader, &IXmlReader::GetValue);
    return element;
  }

  std::vector<TElement> FElements;
};

// A value of the library file's version resource.
class TLibraryVersion {
public:
  explicit TLibraryVersion(const fs::path& path) {
    DWORD ignored = 0;
    FBlock.resize(::GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (FBlock.empty() || !::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(FBlock.size()), FBlock.data()))
      throw std::runtime_error("no version resource in " + path.string());
  }

  std::wstring FileVersion() const {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Value(L"\\"));
    if (!fixed) return L"<missing>";
    return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(fixed->dwFileVersionLS));
  }

  std::wstring String(const std::wstring& name) const {
    const auto* text = static_cast<const wchar_t*>(Value(L"\\StringFileInfo\\040904E4\\" + name));
    return text ? text : L"<missing>";
  }

private:
  const void* Value(const std::wstring& path) const {
    void* value = nullptr;
    UINT length = 0;
    return ::VerQueryValueW(FBlock.data(), path.c_str(), &value, &length) ? value : nullptr;
  }

  std::vector<BYTE> FBlock;
};

class PackageManifest : public ::testing::Test {
protected:
  TXmlElements Manifest{ThisFolder() / "layout" / "AppxManifest.xml"};
  TElement Verb = Manifest.One(Desktop5, L"Verb");
  TElement ServerClass = Manifest.One(Com, L"Class");
};

TEST_F(PackageManifest, VerbAndServerNameTheExplorerCommandClass) {
  std::wstring command = ManifestText(ContextM::CLSID_TarnwickExplorerCommand);
  EXPECT_EQ(Verb.Attributes[L"Clsid"], command);
  EXPECT_EQ(ServerClass.Attributes[L"Id"], command);
  EXPECT_NE(command, ManifestText(ContextM::CLSID_TarnwickContextMenu));
}

TEST_F(PackageManifest, ServerIsTheBuiltLibraryOnTheShellsThread) {
  TLibraryVersion library(BuiltLibrary());
  EXPECT_EQ(ServerClass.Attributes[L"Path"], BuiltLibrary().filename().wstring());
  EXPECT_EQ(ServerClass.Attributes[L"Path"], library.String(L"OriginalFilename"));
  EXPECT_EQ(ServerClass.Attributes[L"ThreadingModel"], L"STA");
}

TEST_F(PackageManifest, VersionIsTheLibrarys) {
  TElement identity = Manifest.One(Foundation, L"Identity");
  EXPECT_EQ(identity.Attributes[L"Version"], TLibraryVersion(BuiltLibrary()).FileVersion());
  EXPECT_EQ(identity.Attributes[L"Name"], L"Velmora.Tarnwick.ContextMenu");
  EXPECT_EQ(identity.Attributes[L"ProcessorArchitecture"], L"x64");
}

// What the package's COM server will ask of the library once Windows activates the verb.
TEST_F(PackageManifest, LibraryServesTheManifestsClass) {
  CLSID named{};
  std::wstring text = L"{" + ServerClass.Attributes[L"Id"] + L"}";
  ASSERT_EQ(::CLSIDFromString(text.c_str(), &named), S_OK) << "no class identifier in the manifest";
  Tools::TServerModule library(BuiltLibrary().wstring());
  ASSERT_TRUE(library && library.GetClassObject);
  Win32::TComRef<IClassFactory> factory;
  EXPECT_EQ(library.GetClassObject(named, IID_PPV_ARGS(factory.put())), S_OK);
  EXPECT_TRUE(factory);
}

}  // namespace
