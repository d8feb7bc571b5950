// Parsing a large generated SVG with SvgDocument::parse_file, plain and gzip,
// against the limit: the same bytes read the same way (zlib's reader, 8 KiB
// chunks) through expat with empty handlers.
//
// The drawing is about PLOTMIRA_SVG_BENCH_MB megabytes (default 50) of
// groups, rectangles and paths. Run with --peak-memory to print the peak
// resident size of one parse of each kind, each measured in a fresh process.

#include <benchmark/benchmark.h>
#include <expat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "svg/svg_document.h"

namespace {

struct Files {
  std::string plain;
  std::string gzip;
  size_t bytes = 0;
};

size_t target_bytes() {
  const char* text = std::getenv("PLOTMIRA_SVG_BENCH_MB");
  long megabytes = text != nullptr ? std::strtol(text, nullptr, 10) : 50;
  if (megabytes <= 0) megabytes = 50;
  return static_cast<size_t>(megabytes) << 20;
}

std::string temp_name(const char* suffix) {
  return (std::filesystem::temp_directory_path() /
          ("plotmira_svg_bench_" + std::to_string(target_bytes() >> 20) + "mb" + suffix))
      .string();
}

// Writes the drawing once into both files (kept between runs of the same size).
const Files& bench_files() {
  static Files files = [] {
    Files f{temp_name(".svg"), temp_name(".svgz"), 0};
    if (std::filesystem::exists(f.plain) && std::filesystem::exists(f.gzip)) {
      f.bytes = std::filesystem::file_size(f.plain);
      return f;
    }
    FILE* plain = std::fopen(f.plain.c_str(), "wb");
    gzFile gzip = gzopen(f.gzip.c_str(), "wb6");
    if (plain == nullptr || gzip == nullptr) std::abort();
    auto put = [&](const std::string& text) {
      std::fwrite(text.data(), 1, text.size(), plain);
      gzwrite(gzip, text.data(), static_cast<unsigned>(text.size()));
      f.bytes += text.size();
    };
    put("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" "
        "height=\"1000\" viewBox=\"0 0 1000 1000\">\n");
    const size_t limit = target_bytes();
    char line[512];
    for (unsigned group = 0; f.bytes < limit; ++group) {
      std::snprintf(line, sizeof line,
                    "<g id=\"g%u\" transform=\"translate(%u %u) rotate(%u)\" "
                    "style=\"fill:#%06x;stroke:black;stroke-width:0.5\">\n",
                    group, group % 997, group % 991, group % 360,
                    (group * 2654435761u) & 0xffffffu);
      put(line);
      for (unsigned shape = 0; shape < 8; ++shape) {
        unsigned v = group * 8 + shape;
        std::snprintf(line, sizeof line,
                      "  <rect x=\"%u\" y=\"%u.5\" width=\"%u\" height=\"%u\" rx=\"2\" "
                      "fill-opacity=\"0.8\"/>\n",
                      v % 900, v % 877, 5 + v % 40, 5 + v % 30);
        put(line);
        std::snprintf(line, sizeof line,
                      "  <path d=\"M%u %u l%u.25 %u c10 -5 20 5 30 0 s10 10 20 0 "
                      "q5 5 10 0 h-15 v%u L%u,%u z\" stroke-linejoin=\"round\"/>\n",
                      v % 800, v % 700, v % 50, v % 60, v % 20, v % 500, v % 400);
        put(line);
      }
      put("</g>\n");
    }
    put("</svg>\n");
    std::fclose(plain);
    gzclose(gzip);
    return f;
  }();
  return files;
}

SvgStatus parse_with_document(const std::string& path, uint64_t* elements) {
  std::unique_ptr<SvgDocument> document;
  SvgDocument::create(&document);
  SvgStatus status = SvgDocument::parse_file(*document, path);
  *elements = document->element_count;
  return status;
}

void XMLCALL ignore_start(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL ignore_end(void*, const XML_Char*) {}
void XMLCALL ignore_text(void*, const XML_Char*, int) {}

// The same reading as parse_file, with handlers that do nothing.
bool parse_with_expat(const std::string& path) {
  gzFile file = gzopen(path.c_str(), "r");
  if (file == nullptr) return false;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetStartElementHandler(parser, ignore_start);
  XML_SetEndElementHandler(parser, ignore_end);
  XML_SetCharacterDataHandler(parser, ignore_text);
  char buffer[8192];
  bool ok = true;
  for (;;) {
    int count = gzread(file, buffer, sizeof buffer);
    if (count < 0) {
      ok = false;
      break;
    }
    if (XML_Parse(parser, buffer, count, count == 0) != XML_STATUS_OK) {
      ok = false;
      break;
    }
    if (count == 0) break;
  }
  XML_ParserFree(parser);
  gzclose(file);
  return ok;
}

void BM_SvgDocument(benchmark::State& state, bool gzip) {
  const Files& files = bench_files();
  uint64_t elements = 0;
  for (auto _ : state) {
    if (parse_with_document(gzip ? files.gzip : files.plain, &elements) != SvgStatus::Ok) {
      state.SkipWithError("parse failed");
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.bytes));
  state.counters["elements"] = static_cast<double>(elements);
}

void BM_ExpatOnly(benchmark::State& state, bool gzip) {
  const Files& files = bench_files();
  for (auto _ : state) {
    if (!parse_with_expat(gzip ? files.gzip : files.plain)) state.SkipWithError("parse failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.bytes));
}

BENCHMARK_CAPTURE(BM_SvgDocument, plain, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SvgDocument, gzip, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExpatOnly, plain, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExpatOnly, gzip, true)->Unit(benchmark::kMillisecond)->UseRealTime();

// One parse in this (fresh) process; the parent reads its peak resident size.
int run_one(const std::string& mode) {
  const Files& files = bench_files();
  uint64_t elements = 0;
  if (mode == "document-plain")
    return parse_with_document(files.plain, &elements) == SvgStatus::Ok ? 0 : 1;
  if (mode == "document-gzip")
    return parse_with_document(files.gzip, &elements) == SvgStatus::Ok ? 0 : 1;
  if (mode == "expat-plain") return parse_with_expat(files.plain) ? 0 : 1;
  if (mode == "expat-gzip") return parse_with_expat(files.gzip) ? 0 : 1;
  if (mode == "none") return 0;
  return 2;
}

int report_peak_memory(const char* self) {
  const Files& files = bench_files();
  std::printf("input: %.1f MiB plain, %.1f MiB gzip\n", files.bytes / 1048576.0,
              std::filesystem::file_size(files.gzip) / 1048576.0);
  for (const char* mode :
       {"none", "expat-plain", "expat-gzip", "document-plain", "document-gzip"}) {
    pid_t child = fork();
    if (child == 0) {
      execl(self, self, "--run-one", mode, static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::printf("%-15s exit %d, peak resident %.1f MiB\n", mode, WEXITSTATUS(status),
                usage.ru_maxrss / 1024.0);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run-one") == 0) return run_one(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "--peak-memory") == 0) {
    return report_peak_memory("/proc/self/exe");
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
