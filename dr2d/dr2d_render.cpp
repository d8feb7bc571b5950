#include "dr2d/dr2d_render.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "dr2d/dr2d_draw.h"
#include "dr2d/dr2d_read.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

IffStatus read_file(const std::string& path, std::unique_ptr<Dr2dDrawing>& drawing, bool& opened) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  opened = file != nullptr;
  if (!file) return IffStatus::ReadError;
  return read_dr2d_stream(file.get(), drawing);
}

RenderStatus render_status_for(IffStatus status, bool opened) {
  if (!opened || status == IffStatus::ReadError) return RenderStatus::Unreadable;
  if (status == IffStatus::NoMemory) return RenderStatus::NoMemory;
  return status == IffStatus::Ok ? RenderStatus::Ok : RenderStatus::Malformed;
}

}  // namespace

RenderStatus render_dr2d_file_with_status(const std::string& path, RendererData& data,
                                          int& read_status) {
  std::unique_ptr<Dr2dDrawing> drawing;
  bool opened = false;
  IffStatus status = read_file(path, drawing, opened);
  read_status = int(status);
  if (status != IffStatus::Ok) return render_status_for(status, opened);
  RenderStatus drawn = render_dr2d_drawing(*drawing, data);
  free_dr2d_drawing(drawing);
  return drawn;
}

RenderStatus render_dr2d_file(const std::string& path, RendererData& data) {
  int read_status = 0;
  return render_dr2d_file_with_status(path, data, read_status);
}

RenderStatus dr2d_document_size(const std::string& path, double& width, double& height) {
  width = height = 0;
  std::unique_ptr<Dr2dDrawing> drawing;
  bool opened = false;
  IffStatus status = read_file(path, drawing, opened);
  if (status != IffStatus::Ok) return render_status_for(status, opened);
  width = std::fabs(double(drawing->right) - double(drawing->left));
  height = std::fabs(double(drawing->bottom) - double(drawing->top));
  return RenderStatus::Ok;
}

std::string dr2d_read_failure_message(const std::string& path) {
  std::unique_ptr<Dr2dDrawing> drawing;
  bool opened = false;
  IffStatus status = read_file(path, drawing, opened);
  if (status == IffStatus::Ok) return "";
  if (!opened) return "DR2D reader: cannot open the file";
  return "DR2D reader status " + std::to_string(int(status)) + ": " +
         std::string(dr2d_read_status_name(int(status)));
}
