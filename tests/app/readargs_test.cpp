#include "app/readargs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ReadArgsCase {
  const char* label;
  std::vector<std::string> words;
  ReadArgsStatus status;
  std::string vector_file;  // expected when status is Ok
};

class ReadArgsTest : public ::testing::TestWithParam<ReadArgsCase> {};

TEST_P(ReadArgsTest, ParsesTheTemplate) {
  const ReadArgsCase& c = GetParam();
  VectorFileArgs args = readargs_vector_file(c.words);
  EXPECT_EQ(args.status, c.status) << readargs_status_name(args.status);
  if (c.status == ReadArgsStatus::Ok) {
    EXPECT_EQ(args.vector_file, c.vector_file);
  } else {
    EXPECT_TRUE(args.vector_file.empty());
  }
}

const ReadArgsCase kCases[] = {
    {"Positional", {"drawing.wmf"}, ReadArgsStatus::Ok, "drawing.wmf"},
    {"PositionalWithSpaces", {"/tmp/my drawing.wmf"}, ReadArgsStatus::Ok, "/tmp/my drawing.wmf"},
    {"KeywordEquals", {"VectorFile=a.svg"}, ReadArgsStatus::Ok, "a.svg"},
    {"KeywordAnyCase", {"vectorFILE=a.svg"}, ReadArgsStatus::Ok, "a.svg"},
    {"KeywordThenWord", {"VECTORFILE", "b.dr2d"}, ReadArgsStatus::Ok, "b.dr2d"},
    {"KeywordEqualsThenWord", {"VectorFile=", "b.dr2d"}, ReadArgsStatus::Ok, "b.dr2d"},
    {"ValueKeepsLaterEquals", {"VectorFile=x=y.wmf"}, ReadArgsStatus::Ok, "x=y.wmf"},
    {"OtherNameWithEqualsIsAPath", {"colour=red.wmf"}, ReadArgsStatus::Ok, "colour=red.wmf"},
    {"QuotedPath", {"\"my file.wmf\""}, ReadArgsStatus::Ok, "my file.wmf"},
    {"QuotedKeywordIsAPath", {"\"VectorFile\""}, ReadArgsStatus::Ok, "VectorFile"},
    {"QuotedValueAfterEquals", {"VectorFile=\"a b.svg\""}, ReadArgsStatus::Ok, "a b.svg"},
    {"StarEscapes", {"\"say *\"hi*\" ** *n\""}, ReadArgsStatus::Ok, "say \"hi\" * \n"},
    {"StarOutsideQuotesIsPlain", {"a*b.wmf"}, ReadArgsStatus::Ok, "a*b.wmf"},
    {"LongPath",
     {std::string(600, 'p') + ".wmf"},
     ReadArgsStatus::Ok,
     std::string(600, 'p') + ".wmf"},
    {"Nothing", {}, ReadArgsStatus::RequiredArgumentMissing, ""},
    {"EmptyWord", {""}, ReadArgsStatus::RequiredArgumentMissing, ""},
    {"EmptyQuoted", {"\"\""}, ReadArgsStatus::RequiredArgumentMissing, ""},
    {"KeywordAlone", {"VectorFile"}, ReadArgsStatus::KeywordNeedsArgument, ""},
    {"KeywordEqualsAlone", {"VectorFile="}, ReadArgsStatus::KeywordNeedsArgument, ""},
    {"TwoPaths", {"a.wmf", "b.wmf"}, ReadArgsStatus::TooManyArguments, ""},
    {"KeywordAndPath", {"VectorFile=a.wmf", "b.wmf"}, ReadArgsStatus::TooManyArguments, ""},
    {"UnterminatedQuote", {"\"a.wmf"}, ReadArgsStatus::UnterminatedQuote, ""},
    {"EscapedClosingQuote", {"\"a.wmf*\""}, ReadArgsStatus::UnterminatedQuote, ""},
    {"TextAfterQuote", {"\"a\"b.wmf"}, ReadArgsStatus::TextAfterQuote, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReadArgsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
