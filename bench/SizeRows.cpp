// Every architecture's release library: file size, section sizes from the PE headers, and the largest
// contributors from the link map where the linker wrote one.
#include "Rows.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <utility>

namespace Bench {

namespace fs = std::filesystem;

namespace {

struct TSection {
  std::string Name;
  unsigned long Size;  // in the file
};

std::vector<char> FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The section table sits right after the optional header, whose size the file header gives; both layouts
// (32- and 64-bit) share everything up to there.
std::vector<TSection> Sections(const std::vector<char>& image) {
  std::vector<TSection> sections;
  if (image.size() < sizeof(IMAGE_DOS_HEADER)) return sections;
  IMAGE_DOS_HEADER dos;
  std::memcpy(&dos, image.data(), sizeof dos);
  auto fileHeaderAt = static_cast<std::size_t>(dos.e_lfanew) + sizeof(DWORD);
  if (image.size() < fileHeaderAt + sizeof(IMAGE_FILE_HEADER)) return sections;
  IMAGE_FILE_HEADER header;
  std::memcpy(&header, image.data() + fileHeaderAt, sizeof header);
  std::size_t at = fileHeaderAt + sizeof header + header.SizeOfOptionalHeader;
  for (WORD i = 0; i < header.NumberOfSections && at + sizeof(IMAGE_SECTION_HEADER) <= image.size(); ++i) {
    IMAGE_SECTION_HEADER section;
    std::memcpy(&section, image.data() + at, sizeof section);
    at += sizeof section;
    std::string name(reinterpret_cast<const char*>(section.Name),
                     ::strnlen(reinterpret_cast<const char*>(section.Name), 8));
    if (section.SizeOfRawData > 0) sections.push_back({name, section.SizeOfRawData});
  }
  return sections;
}

// Bytes of the input sections the link kept in the image's sections, by archive (or object) and by member.
struct TContributors {
  std::map<std::string, long long> ByLibrary, ByMember;
};

bool InImage(const std::string& outputSection) {
  static const char* const kept[] = {".text",  ".data", ".rdata", ".pdata", ".xdata", ".eh_frame",
                                     ".idata", ".CRT",  ".tls",   ".rsrc",  ".edata"};
  return std::any_of(std::begin(kept), std::end(kept), [&](const char* name) { return outputSection == name; });
}

void Count(TContributors& contributors, const std::string& input, long long size) {
  std::string member = input.substr(input.find_last_of('/', input.find('(')) + 1);
  contributors.ByMember[member] += size;
  contributors.ByLibrary[member.substr(0, member.find('('))] += size;
}

// GNU ld's map: an output section starts in the first column; an input section is " name address size file",
// with the name on a line of its own when it is long, and its numbers on the next.
TContributors ReadGnuLinkMap(std::istream& map) {
  TContributors contributors;
  std::string line, output;
  bool pending = false;
  while (std::getline(map, line) && line.rfind("Linker script and memory map", 0) != 0) {
  }
  while (std::getline(map, line)) {
    if (!line.empty() && line[0] == '.') output = line.substr(0, line.find(' '));
    std::istringstream words(line);
    std::vector<std::string> w{std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
    bool named = line.size() > 1 && line[0] == ' ' && line[1] != ' ' && line[1] != '*';
    if (named && w.size() == 1) {
      pending = true;
      continue;
    }
    std::size_t at = named ? 1 : 0;
    bool numbers = named || std::exchange(pending, false);
    pending = false;
    if (!numbers || w.size() < at + 3 || w[at].rfind("0x", 0) != 0 || w[at + 1].rfind("0x", 0) != 0) continue;
    long long size = std::stoll(w[at + 1], nullptr, 16);
    if (size > 0 && InImage(output)) Count(contributors, w[at + 2], size);
  }
  return contributors;
}

// lld-link's map: "address size align" and then an output section ".text", or an input section "file:(.text$x)",
// or a symbol. It names an archive member by the member alone, so there is no count by library.
TContributors ReadLldLinkMap(std::istream& map) {
  TContributors contributors;
  std::string line, output;
  while (std::getline(map, line)) {
    std::istringstream words(line);
    std::string address, size, align, where;
    if (!(words >> address >> size >> align >> where)) continue;
    if (size.find_first_not_of("0123456789abcdef") != std::string::npos) continue;
    std::size_t input = where.find(":(");
    if (input == std::string::npos) {
      if (align != "0") output = where;  // a symbol's alignment is 0, a section's never
      continue;
    }
    long long bytes = std::stoll(size, nullptr, 16);
    std::string file = where.substr(0, input);
    if (bytes > 0 && InImage(output)) contributors.ByMember[file.substr(file.find_last_of('/') + 1)] += bytes;
  }
  return contributors;
}

TContributors ReadLinkMap(const fs::path& path) {
  std::ifstream map(path);
  std::string first;
  std::getline(map, first);
  if (first.rfind("Address", 0) == 0) return ReadLldLinkMap(map);
  map.clear();
  map.seekg(0);
  return ReadGnuLinkMap(map);
}

std::string Largest(const std::map<std::string, long long>& sizes, std::size_t count) {
  std::vector<std::pair<std::string, long long>> sorted(sizes.begin(), sizes.end());
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string text;
  for (std::size_t i = 0; i < std::min(count, sorted.size()); ++i)
    text += (i ? ", " : "") + sorted[i].first + " " + Grouped(sorted[i].second);
  return text;
}

// Members whose presence means the iostream and locale machinery, the demangler or formatted printing came in:
// GNU ld names archive members "archive(member.o)", lld-link the member alone.
bool IsUnwanted(const std::string& member) {
  static const char* const gnuMembers[] = {"(ios_init.o)",     "(locale_init.o)",  "(locale.o)",
                                           "(sstream-inst.o)", "(istream-inst.o)", "(ostream-inst.o)",
                                           "(cp-demangle.o)",  "mingw_pformat.o",  "mingw_pformatw.o"};
  static const char* const lldMembers[] = {"ios.obj", "ios.instantiations.obj", "iostream.obj", "locale.obj",
                                           "cxa_demangle.obj"};
  return std::any_of(std::begin(gnuMembers), std::end(gnuMembers),
                     [&](const char* name) { return member.find(name) != std::string::npos; }) ||
         std::any_of(std::begin(lldMembers), std::end(lldMembers), [&](const char* name) { return member == name; });
}

std::string Unwanted(const TContributors& contributors) {
  std::string found;
  for (const auto& [member, size] : contributors.ByMember)
    if (IsUnwanted(member)) found += (found.empty() ? "" : ", ") + member;
  return found;
}

void ReportSize(TReport& report, const fs::path& buildFolder, const char* architecture) {
  std::string name = std::string("tarnctx.dll size, ") + architecture;
  std::vector<char> image = FileBytes(buildFolder / "tarnctx.dll");
  if (image.empty()) {
    report.Add({name, "not built", "no iostreams", TRow::TVerdict::Miss, (buildFolder / "tarnctx.dll").string()});
    return;
  }
  std::string sections;
  for (const TSection& section : Sections(image))
    sections += (sections.empty() ? "" : ", ") + section.Name + " " + Grouped(section.Size);
  // A library linked where no map could be written: its size is shown, its members are not checked.
  if (!fs::exists(buildFolder / "tarnctx.map")) {
    report.Add({name, Grouped(static_cast<long long>(image.size())) + " B", "no iostreams", TRow::TVerdict::Untargeted,
                sections + "; no link map, the linked members were not checked"});
    return;
  }
  TContributors contributors = ReadLinkMap(buildFolder / "tarnctx.map");
  std::string unwanted = Unwanted(contributors);
  report.Add({name, Grouped(static_cast<long long>(image.size())) + " B", "no iostreams",
              unwanted.empty() ? TRow::TVerdict::Meets : TRow::TVerdict::Miss,
              unwanted.empty() ? sections : "linked: " + unwanted});
  if (contributors.ByMember.empty()) return;
  if (!contributors.ByLibrary.empty())
    report.Note(std::string(architecture) + " image bytes by library: " + Largest(contributors.ByLibrary, 10));
  report.Note(std::string(architecture) + " largest members: " + Largest(contributors.ByMember, 12));
}

}  // namespace

void ReportSizes(TReport& report, const TPaths& paths) {
  ReportSize(report, fs::path(paths.BuildRoot) / "x86", "x86");
  ReportSize(report, fs::path(paths.BuildRoot) / "x64", "x64");
  ReportSize(report, fs::path(paths.BuildRoot) / "arm64", "arm64");
  report.Note(
      "Size target: no iostream or locale machinery, demangler or formatted printing linked into the "
      "library (checked in its link map); the section sizes are those in the file.");
}

}  // namespace Bench
