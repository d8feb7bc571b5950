#pragma once
// What the open and save dialogs ask for, and how a chosen drawer and file
// name become one path. Free of the toolkit so that it can be tested alone.

#include <span>
#include <string>
#include <string_view>

enum class FileRequestUse { Open, SavePdf, SaveSvg, SaveEps, SavePng };

struct FileFilterSpec {
  std::string_view name;
  std::span<const std::string_view> suffixes;  // matched without regard to case; empty: every file
};

struct FileRequestSpec {
  std::string_view title;
  bool save = false;
  std::span<const FileFilterSpec> filters;  // the first is selected
};

const FileRequestSpec& file_request_spec(FileRequestUse use);

// The drawer and the file name joined: the file name alone when the drawer is
// empty, otherwise one "/" between them unless the drawer already ends in "/".
std::string file_request_join(std::string_view drawer, std::string_view file_name);

// The reverse, for a path the dialog chose: the drawer is everything before
// the last "/" (the root stays "/"), the file name what follows it.
void file_request_split(std::string_view path, std::string& drawer, std::string& file_name);
