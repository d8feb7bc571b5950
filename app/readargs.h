#pragma once
// The viewer's command line, template "VectorFile/A": one required path,
// given alone or in the keyword form (VectorFile=path or VectorFile path,
// keyword in any case). Each shell word is read by the usual rules of that
// template syntax: a word that starts with a double quote is a quoted string
// (never a keyword), in which *" stands for a quote, ** for a star and *N for
// a line feed; a quoted value may also follow "VectorFile=".

#include <string>
#include <string_view>
#include <vector>

enum class ReadArgsStatus {
  Ok = 0,
  RequiredArgumentMissing,  // no path, or an empty one
  KeywordNeedsArgument,     // "VectorFile" as the last word
  TooManyArguments,         // more than one path
  UnterminatedQuote,        // a quoted word without its closing quote
  TextAfterQuote,           // a quoted string followed by more text in the same word
};

constexpr std::string_view readargs_status_name(ReadArgsStatus status) {
  switch (status) {
    case ReadArgsStatus::Ok: return "ok";
    case ReadArgsStatus::RequiredArgumentMissing: return "required argument missing";
    case ReadArgsStatus::KeywordNeedsArgument: return "keyword needs an argument";
    case ReadArgsStatus::TooManyArguments: return "too many arguments";
    case ReadArgsStatus::UnterminatedQuote: return "unterminated quoted string";
    case ReadArgsStatus::TextAfterQuote: return "text after a quoted string";
  }
  return "unknown status";
}

struct VectorFileArgs {
  ReadArgsStatus status = ReadArgsStatus::RequiredArgumentMissing;
  std::string vector_file;  // set only when status is Ok
};

// The words after the program name, as the shell split them.
VectorFileArgs readargs_vector_file(const std::vector<std::string>& words);
