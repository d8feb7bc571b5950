#include "gui/file_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct JoinCase {
  const char* drawer;
  const char* file_name;
  const char* path;
};

TEST(FileRequestTest, JoinsDrawerAndFileName) {
  const JoinCase cases[] = {
      {"", "a.svg", "a.svg"},               // no drawer: relative to the current directory
      {"Vector", "a.svg", "Vector/a.svg"},  // the first drawer after start-up
      {"/home/u/Pics", "a.svg", "/home/u/Pics/a.svg"},
      {"/home/u/Pics/", "a.svg", "/home/u/Pics/a.svg"},  // no doubled separator
      {"/", "a.svg", "/a.svg"},                          // the root
      {"/mnt/c:", "a.svg", "/mnt/c:/a.svg"},             // a colon is an ordinary character here
  };
  for (const JoinCase& c : cases) {
    EXPECT_EQ(file_request_join(c.drawer, c.file_name), c.path) << c.drawer << " + " << c.file_name;
  }
}

TEST(FileRequestTest, SplitThenJoinGivesThePathBack) {
  const char* paths[] = {"/home/u/Pics/a.svg", "/a.svg", "a.svg", "rel/dir/b.wmf"};
  for (const char* path : paths) {
    std::string drawer = "old", file_name = "old";
    file_request_split(path, drawer, file_name);
    EXPECT_EQ(file_request_join(drawer, file_name), path);
  }
  std::string drawer, file_name;
  file_request_split("/home/u/Pics/a.svg", drawer, file_name);
  EXPECT_EQ(drawer, "/home/u/Pics");
  EXPECT_EQ(file_name, "a.svg");
  file_request_split("/a.svg", drawer, file_name);
  EXPECT_EQ(drawer, "/");
}

TEST(FileRequestTest, DialogsHaveTheirTitlesModesAndFilters) {
  const FileRequestSpec& open = file_request_spec(FileRequestUse::Open);
  EXPECT_EQ(open.title, "Open vectorgraphic...");
  EXPECT_FALSE(open.save);
  ASSERT_EQ(open.filters.size(), 2u);
  EXPECT_EQ(open.filters[0].suffixes.size(), 3u);
  EXPECT_TRUE(open.filters[1].suffixes.empty());  // "All files": files are known by content

  struct SaveCase {
    FileRequestUse use;
    const char* title;
    const char* suffix;
  };
  const SaveCase saves[] = {{FileRequestUse::SavePdf, "Save as PDF...", "pdf"},
                            {FileRequestUse::SaveSvg, "Save as SVG...", "svg"},
                            {FileRequestUse::SaveEps, "Save as EPS...", "eps"},
                            {FileRequestUse::SavePng, "Save as PNG...", "png"}};
  for (const SaveCase& c : saves) {
    const FileRequestSpec& request = file_request_spec(c.use);
    EXPECT_EQ(request.title, c.title);
    EXPECT_TRUE(request.save);
    ASSERT_EQ(request.filters.size(), 1u);
    ASSERT_EQ(request.filters[0].suffixes.size(), 1u);
    EXPECT_EQ(request.filters[0].suffixes[0], c.suffix);
  }
}

}  // namespace
