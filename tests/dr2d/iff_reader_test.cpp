#include "dr2d/iff_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/dr2d/dr2d_writer.h"

namespace {

using dr2dw::Bytes;
using dr2dw::chunk;
using dr2dw::form;
using dr2dw::group;

std::string id_text(std::uint32_t id) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) s += char((id >> shift) & 0xFF);
  return s;
}

void register_test_keys(IffParser& parser) {
  const std::uint32_t type = iff_id("TEST");
  iff_stop_chunk(parser, type, kIffForm);
  iff_stop_chunk(parser, type, iff_id("DATA"));
  iff_prop_chunk(parser, type, iff_id("NAME"));
  iff_prop_chunk(parser, type, iff_id("ATTR"));
  iff_stop_on_exit(parser, type, kIffForm);
}

// Each event as text: "FORM TEST" (entered), "DATA 3" (stop chunk and its
// size), "exit TEST", then the final status.
std::vector<std::string> events_of(IffParser& parser) {
  std::vector<std::string> events;
  for (;;) {
    IffStatus status = iff_parse(parser);
    const IffContext* chunk = iff_current_chunk(parser);
    if (status == IffStatus::Ok && chunk->id == kIffForm) {
      events.push_back("FORM " + id_text(chunk->type));
    } else if (status == IffStatus::Ok) {
      events.push_back(id_text(chunk->id) + " " + std::to_string(chunk->size));
    } else if (status == IffStatus::EndOfContext) {
      events.push_back("exit " + id_text(chunk->type));
    } else {
      events.push_back(std::string(iff_status_name(status)));
      return events;
    }
  }
}

std::vector<std::string> events_of(const Bytes& bytes) {
  IffParser parser = iff_open_memory(bytes.data(), bytes.size());
  register_test_keys(parser);
  return events_of(parser);
}

Bytes data_chunk(std::size_t size) { return chunk("DATA", Bytes(size, 0x5A)); }

TEST(IffReader, WalksNestedFormsWithPaddingAndSkipsWhatIsNotRegistered) {
  Bytes file =
      form("TEST", {data_chunk(3), chunk("SKIP", Bytes(5, 1)),
                    form("TEST", {data_chunk(1), form("OTHR", {data_chunk(2)})}),
                    group("LIST", "TEST", {form("TEST", {data_chunk(0)})}), data_chunk(4)});
  EXPECT_EQ(events_of(file),
            (std::vector<std::string>{"FORM TEST", "DATA 3", "FORM TEST", "DATA 1", "exit TEST",
                                      "FORM TEST", "DATA 0", "exit TEST", "DATA 4", "exit TEST",
                                      "end of file"}));
}

TEST(IffReader, AcceptsAnOddLastChunkWhosePadTheWriterLeftOut) {
  Bytes file = form("TEST", {data_chunk(3)});
  file.pop_back();  // the pad byte
  file[7] -= 1;     // and the FORM's size no longer counts it
  EXPECT_EQ(events_of(file),
            (std::vector<std::string>{"FORM TEST", "DATA 3", "exit TEST", "end of file"}));
}

TEST(IffReader, IgnoresBytesAfterTheTopLevelGroup) {
  Bytes file = form("TEST", {data_chunk(2)});
  Bytes tail = form("TEST", {data_chunk(2)});
  file.insert(file.end(), tail.begin(), tail.end());
  EXPECT_EQ(events_of(file),
            (std::vector<std::string>{"FORM TEST", "DATA 2", "exit TEST", "end of file"}));
}

TEST(IffReader, RefusesBrokenStructure) {
  Bytes form_too_long = form("TEST", {data_chunk(4)});
  form_too_long[7] += 2;  // the FORM claims two bytes the file does not hold
  Bytes chunk_too_long = form("TEST", {data_chunk(4)});
  chunk_too_long[19] = 9;  // DATA claims more than its FORM
  Bytes short_group = chunk("FORM", Bytes{'T', 'E'});
  Bytes stray_bytes = form("TEST", {data_chunk(2), Bytes{0, 0, 0, 0}});
  Bytes truncated = form("TEST", {data_chunk(2)});
  truncated.resize(5);

  struct Case {
    const char* name;
    Bytes file;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases = {
      {"group longer than the file", form_too_long, {"malformed IFF data"}},
      {"chunk longer than its FORM", chunk_too_long, {"FORM TEST", "malformed IFF data"}},
      {"group without its type", short_group, {"malformed IFF data"}},
      {"top level is not a group", chunk("DATA", Bytes(4, 0)), {"malformed IFF data"}},
      {"half a header at the end of a FORM",
       stray_bytes,
       {"FORM TEST", "DATA 2", "malformed IFF data"}},
      {"truncated header", truncated, {"malformed IFF data"}},
      {"PROP inside a FORM",
       form("TEST", {group("PROP", "TEST", {})}),
       {"FORM TEST", "malformed IFF data"}},
      {"data chunk inside a CAT", group("CAT ", "TEST", {data_chunk(2)}), {"malformed IFF data"}},
      {"empty input", Bytes{}, {"end of file"}},
  };
  for (const Case& c : cases) EXPECT_EQ(events_of(c.file), c.events) << c.name;
}

TEST(IffReader, ErrorsAreSticky) {
  Bytes file = form("TEST", {data_chunk(4)});
  file[19] = 99;
  IffParser parser = iff_open_memory(file.data(), file.size());
  register_test_keys(parser);
  EXPECT_EQ(iff_parse(parser), IffStatus::Ok);
  EXPECT_EQ(iff_parse(parser), IffStatus::Malformed);
  EXPECT_EQ(iff_parse(parser), IffStatus::Malformed);
  std::uint8_t buffer[4];
  EXPECT_EQ(iff_read_chunk_records(parser, buffer, 1, 4), std::int64_t(IffStatus::Malformed));
}

TEST(IffReader, BoundsTheNestingOfGroups) {
  Bytes nested = form("TEST", {});
  for (std::size_t i = 0; i <= kIffMaxContextDepth; ++i) nested = form("OTHR", {nested});
  IffParser parser = iff_open_memory(nested.data(), nested.size());
  register_test_keys(parser);
  EXPECT_EQ(iff_parse(parser), IffStatus::Malformed);
}

TEST(IffReader, ReadsWholeRecordsOnly) {
  Bytes file = form("TEST", {chunk("DATA", Bytes{1, 2, 3, 4, 5, 6, 7})});
  IffParser parser = iff_open_memory(file.data(), file.size());
  register_test_keys(parser);
  ASSERT_EQ(iff_parse(parser), IffStatus::Ok);
  ASSERT_EQ(iff_parse(parser), IffStatus::Ok);
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(iff_read_chunk_records(parser, buffer, 2, 10), 3);  // 6 of the 7 bytes
  EXPECT_EQ(buffer[5], 6);
  EXPECT_EQ(iff_current_chunk(parser)->bytes_read, 6u);
  EXPECT_EQ(iff_read_chunk_records(parser, buffer, 2, 1), 0);  // one byte left
  EXPECT_EQ(iff_read_chunk_records(parser, buffer, 1, 1), 1);
  EXPECT_EQ(buffer[0], 7);
  // The rest of a partly read chunk is skipped.
  EXPECT_EQ(iff_parse(parser), IffStatus::EndOfContext);
}

std::string prop_text(const IffParser& parser, const char (&id)[5]) {
  const IffProperty* prop = iff_find_prop(parser, iff_id("TEST"), iff_id(id));
  return prop ? std::string(prop->data.begin(), prop->data.end()) : "none";
}

Bytes text_chunk(const std::string& id, const std::string& text) {
  return chunk(id, Bytes(text.begin(), text.end()));
}

TEST(IffReader, FindsTheInnermostPropertyInScope) {
  // A LIST's PROP is shared by its FORMs; a FORM's own property overrides it
  // for the rest of that FORM only, and a later one replaces an earlier one.
  Bytes file =
      group("LIST", "TEST",
            {group("PROP", "TEST", {text_chunk("NAME", "list"), text_chunk("ATTR", "list")}),
             form("TEST", {text_chunk("NAME", "outer"), data_chunk(1),
                           form("TEST", {text_chunk("NAME", "inner"), text_chunk("NAME", "later"),
                                         data_chunk(2)}),
                           data_chunk(3)})});
  IffParser parser = iff_open_memory(file.data(), file.size());
  register_test_keys(parser);
  std::vector<std::string> seen;
  for (IffStatus status; (status = iff_parse(parser)) != IffStatus::EndOfFile;) {
    ASSERT_TRUE(status == IffStatus::Ok || status == IffStatus::EndOfContext);
    const IffContext* chunk = iff_current_chunk(parser);
    if (status == IffStatus::Ok && chunk->id == iff_id("DATA")) {
      seen.push_back(prop_text(parser, "NAME") + "/" + prop_text(parser, "ATTR"));
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"outer/list", "later/list", "outer/list"}));
}

// The same walk from a regular file (size known up front) and from a stream
// whose size is unknown (fmemopen has no descriptor to measure).
TEST(IffReader, ReadsStreams) {
  Bytes file = form("TEST", {data_chunk(3), chunk("SKIP", Bytes(300, 1)), data_chunk(2)});
  const std::vector<std::string> expected{"FORM TEST", "DATA 3", "DATA 2", "exit TEST",
                                          "end of file"};
  std::FILE* regular = std::tmpfile();
  ASSERT_NE(regular, nullptr);
  std::fwrite(file.data(), 1, file.size(), regular);
  std::rewind(regular);
  std::FILE* memory = fmemopen(file.data(), file.size(), "r");
  ASSERT_NE(memory, nullptr);
  for (std::FILE* stream : {regular, memory}) {
    IffParser parser = iff_open_stream(stream);
    register_test_keys(parser);
    EXPECT_EQ(events_of(parser), expected);
    std::fclose(stream);
  }

  // Truncated streams: lengths are checked up front when the size is known,
  // and by the short read otherwise.
  Bytes truncated(file.begin(), file.end() - 4);
  std::FILE* cut = fmemopen(truncated.data(), truncated.size(), "r");
  IffParser parser = iff_open_stream(cut);
  register_test_keys(parser);
  EXPECT_EQ(events_of(parser).back(), "malformed IFF data");
  std::fclose(cut);
}

}  // namespace
