// classrows: writes the installer's class entries from the library's own DllRegisterServer, run against a scratch
// key, so that the package's rows are what regsvr32 writes, value for value. The library's own path becomes the
// installer's reference to the installed file.
#include "tools/Registry.h"
#include "tools/ServerModule.h"
#include "tools/ToolText.h"
#include "win32/Handles.h"
#include "win32/Module.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const wchar_t ScratchPath[] = L"Software\\Velmora\\tarnctx class rows";

struct TRow {
  std::wstring Key, Name, Value;
};

void Check(LONG result, const char* what) {
  if (result != ERROR_SUCCESS) throw std::runtime_error(std::string(what) + ": error " + std::to_string(result));
}

void ReadValues(HKEY key, const std::wstring& path, std::vector<TRow>& rows) {
  wchar_t name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = std::size(name), type = 0, size = 0;
    LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size);
    if (result == ERROR_NO_MORE_ITEMS) return;
    Check(result, "reading a value");
    if (type != REG_SZ) throw std::runtime_error("the library wrote a value that is not a string");
    std::wstring data(size / sizeof(wchar_t), L'\0');
    Check(::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, data.data(), &size), "reading a value");
    data.resize(std::wcslen(data.c_str()));
    rows.push_back({path, name, data});
  }
}

// The library registers into an empty scratch key that stands for HKEY_CLASSES_ROOT. Not volatile: the library's
// keys below it could not be created.
std::vector<TRow> RegisteredRows(const Tools::TServerModule& library) {
  Tools::TClassesRootRedirection classes(ScratchPath, Tools::TRedirectedKey::rkScratch);
  HRESULT result = library.RegisterServer();
  if (FAILED(result)) throw std::runtime_error("DllRegisterServer failed: " + std::to_string(result));
  std::vector<TRow> rows;
  Tools::WalkRegistryTree(classes.Key(), [&rows](HKEY key, const std::wstring& path) { ReadValues(key, path, rows); });
  return rows;
}

// The library names itself by its long path, or by its short one when the long one has a blank.
bool NamesLibrary(const std::wstring& value, HMODULE library) {
  std::wstring longPath = Win32::ModulePath(library);
  wchar_t shortPath[MAX_PATH];
  DWORD shortLength = ::GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH);
  auto same = [&](const wchar_t* path, DWORD size) {
    return size > 0 && size < MAX_PATH && ::CompareStringOrdinal(value.c_str(), -1, path, -1, TRUE) == CSTR_EQUAL;
  };
  return same(longPath.c_str(), static_cast<DWORD>(longPath.size())) || same(shortPath, shortLength);
}

// Escaped twice: for the installer's formatted text, then for XML.
std::string RowText(std::wstring text) {
  std::wstring formatted;
  if (!text.empty() && text[0] == L'#') formatted = L"#";
  for (wchar_t c : text) formatted += c == L'[' ? L"[\\[]" : c == L']' ? L"[\\]]" : std::wstring(1, c);
  std::string xml;
  for (char c : Tools::Utf8(formatted))
    xml += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
  return xml;
}

void WriteInclude(const std::vector<TRow>& rows, HMODULE library, const std::wstring& output) {
  std::ofstream out(std::filesystem::path(output), std::ios::binary | std::ios::trunc);
  out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<!-- Written by classrows from the library's own DllRegisterServer. -->\n"
         "<Include>\n";
  for (const TRow& row : rows) {
    std::string value = NamesLibrary(row.Value, library) ? "[!$(var.LibraryFile)]" : RowText(row.Value);
    out << "  <RegistryValue Root=\"HKCR\" Key=\"" << RowText(row.Key) << "\""
        << (row.Name.empty() ? "" : " Name=\"" + RowText(row.Name) + "\"") << " Value=\"" << value
        << "\" Type=\"string\"/>\n";
  }
  out << "</Include>\n";
  if (!out.flush()) throw std::runtime_error("cannot write " + Tools::Utf8(output));
}

void Run(const std::wstring& libraryPath, const std::wstring& output) {
  Tools::TServerModule library(libraryPath);
  if (!library || !library.RegisterServer) throw std::runtime_error("cannot load " + Tools::Utf8(libraryPath));
  std::vector<TRow> rows = RegisteredRows(library);
  if (rows.empty()) throw std::runtime_error("DllRegisterServer wrote nothing");
  WriteInclude(rows, library.Handle(), output);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: classrows LIBRARY OUTPUT.wxi\n", stderr);
    return 2;
  }
  try {
    Run(argv[1], argv[2]);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "classrows: %s\n", error.what());
    return 1;
  }
}
