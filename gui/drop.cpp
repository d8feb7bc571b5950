#include "gui/drop.h"

#include <gdk/gdk.h>

std::optional<std::string> drop_first_path(const GValue* value) {
  if (!value || !G_VALUE_HOLDS(value, GDK_TYPE_FILE_LIST)) return std::nullopt;
  auto* list = static_cast<GdkFileList*>(g_value_get_boxed(value));
  if (!list) return std::nullopt;
  GSList* files = gdk_file_list_get_files(list);
  if (!files) return std::nullopt;
  char* path = g_file_get_path(G_FILE(files->data));
  g_slist_free(files);
  if (!path) return std::nullopt;
  std::string first(path);
  g_free(path);
  return first;
}
