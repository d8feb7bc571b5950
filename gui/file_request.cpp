#include "gui/file_request.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 3> kVectorSuffixes{"wmf", "dr2d", "svg"};
constexpr std::array<std::string_view, 1> kPdfSuffixes{"pdf"};
constexpr std::array<std::string_view, 1> kSvgSuffixes{"svg"};
constexpr std::array<std::string_view, 1> kEpsSuffixes{"eps"};
constexpr std::array<std::string_view, 1> kPngSuffixes{"png"};

// Files are recognised by their content, so any file may be opened.
constexpr std::array<FileFilterSpec, 2> kOpenFilters{{
    {"Vector graphics (*.wmf, *.dr2d, *.svg)", kVectorSuffixes},
    {"All files", {}},
}};
constexpr std::array<FileFilterSpec, 1> kPdfFilters{{{"PDF documents (*.pdf)", kPdfSuffixes}}};
constexpr std::array<FileFilterSpec, 1> kSvgFilters{{{"SVG images (*.svg)", kSvgSuffixes}}};
constexpr std::array<FileFilterSpec, 1> kEpsFilters{
    {{"Encapsulated PostScript (*.eps)", kEpsSuffixes}}};
constexpr std::array<FileFilterSpec, 1> kPngFilters{{{"PNG images (*.png)", kPngSuffixes}}};

constexpr FileRequestSpec kOpen{"Open vectorgraphic...", false, kOpenFilters};
constexpr FileRequestSpec kSavePdf{"Save as PDF...", true, kPdfFilters};
constexpr FileRequestSpec kSaveSvg{"Save as SVG...", true, kSvgFilters};
constexpr FileRequestSpec kSaveEps{"Save as EPS...", true, kEpsFilters};
constexpr FileRequestSpec kSavePng{"Save as PNG...", true, kPngFilters};

}  // namespace

const FileRequestSpec& file_request_spec(FileRequestUse use) {
  switch (use) {
    case FileRequestUse::Open: return kOpen;
    case FileRequestUse::SavePdf: return kSavePdf;
    case FileRequestUse::SaveSvg: return kSaveSvg;
    case FileRequestUse::SaveEps: return kSaveEps;
    case FileRequestUse::SavePng: return kSavePng;
  }
  return kOpen;
}

std::string file_request_join(std::string_view drawer, std::string_view file_name) {
  std::string path(drawer);
  if (!path.empty() && path.back() != '/') path += '/';
  path += file_name;
  return path;
}

void file_request_split(std::string_view path, std::string& drawer, std::string& file_name) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    drawer.clear();
    file_name.assign(path);
    return;
  }
  drawer.assign(path.substr(0, slash == 0 ? 1 : slash));
  file_name.assign(path.substr(slash + 1));
}
