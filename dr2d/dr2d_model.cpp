#include "dr2d/dr2d_model.h"

Dr2dLayer& dr2d_layer_entry(Dr2dDrawing& drawing, std::uint16_t number) {
  std::size_t old_count = drawing.layers.size();
  dr2d_table_entry(drawing.layers, number);
  dr2d_table_entry(drawing.layer_objects, number);
  for (std::size_t i = old_count; i < drawing.layers.size(); ++i) {
    drawing.layers[i].number = std::uint16_t(i);
  }
  return drawing.layers[number];
}

void free_dr2d_drawing(std::unique_ptr<Dr2dDrawing>& drawing) { drawing.reset(); }
