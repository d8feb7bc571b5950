#include "gui/drop.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

namespace {

// A GValue holding a dropped file list, as the drop target hands it over.
class DroppedFiles {
 public:
  explicit DroppedFiles(std::initializer_list<GFile*> files) {
    GSList* list = nullptr;
    for (GFile* file : files) list = g_slist_append(list, file);
    g_value_init(&value_, GDK_TYPE_FILE_LIST);
    g_value_take_boxed(&value_, gdk_file_list_new_from_list(list));
    g_slist_free_full(list, g_object_unref);
  }
  ~DroppedFiles() { g_value_unset(&value_); }
  const GValue* value() const { return &value_; }

 private:
  GValue value_ = G_VALUE_INIT;
};

TEST(DropTest, LoadsOnlyTheFirstLocalFile) {
  DroppedFiles two({g_file_new_for_path("/data/first.wmf"), g_file_new_for_path("/data/b.svg")});
  EXPECT_EQ(drop_first_path(two.value()), "/data/first.wmf");

  DroppedFiles remote_first(
      {g_file_new_for_uri("http://example.invalid/a.wmf"), g_file_new_for_path("/data/b.svg")});
  EXPECT_EQ(drop_first_path(remote_first.value()), std::nullopt);

  DroppedFiles none({});
  EXPECT_EQ(drop_first_path(none.value()), std::nullopt);

  GValue text = G_VALUE_INIT;
  g_value_init(&text, G_TYPE_STRING);
  g_value_set_string(&text, "/data/first.wmf");
  EXPECT_EQ(drop_first_path(&text), std::nullopt);
  g_value_unset(&text);
}

}  // namespace
