#include "app/readargs.h"

#include <cctype>
#include <optional>

namespace {

constexpr std::string_view kKeyword = "VectorFile";

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Reads text that starts just after an opening quote. On success the quoted
// string must end the word.
ReadArgsStatus unquote(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      return i + 1 == text.size() ? ReadArgsStatus::Ok : ReadArgsStatus::TextAfterQuote;
    }
    if (c == '*' && i + 1 < text.size()) {
      char next = text[++i];
      if (next == 'N' || next == 'n') {
        out += '\n';
      } else if (next == 'E' || next == 'e') {
        out += '\x1b';
      } else {
        out += next;  // *" and ** and anything else stand for the character itself
      }
      continue;
    }
    out += c;
  }
  return ReadArgsStatus::UnterminatedQuote;
}

// One value word: quoted or taken as it stands.
ReadArgsStatus read_value(std::string_view word, std::string& out) {
  if (!word.empty() && word.front() == '"') return unquote(word.substr(1), out);
  out.assign(word);
  return ReadArgsStatus::Ok;
}

}  // namespace

VectorFileArgs readargs_vector_file(const std::vector<std::string>& words) {
  VectorFileArgs result;
  std::optional<std::string> value;
  auto take = [&](std::string_view word) -> ReadArgsStatus {
    if (value) return ReadArgsStatus::TooManyArguments;
    std::string text;
    ReadArgsStatus status = read_value(word, text);
    if (status != ReadArgsStatus::Ok) return status;
    value = std::move(text);
    return ReadArgsStatus::Ok;
  };

  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string_view word = words[i];
    ReadArgsStatus status = ReadArgsStatus::Ok;
    bool quoted = !word.empty() && word.front() == '"';
    std::size_t equals = quoted ? std::string_view::npos : word.find('=');
    std::string_view name = word.substr(0, equals);
    if (!quoted && equals_ignoring_case(name, kKeyword)) {
      if (equals != std::string_view::npos && equals + 1 < word.size()) {
        status = take(word.substr(equals + 1));
      } else if (i + 1 < words.size()) {
        status = take(words[++i]);
      } else {
        status = ReadArgsStatus::KeywordNeedsArgument;
      }
    } else {
      status = take(word);
    }
    if (status != ReadArgsStatus::Ok) {
      result.status = status;
      return result;
    }
  }
  if (!value || value->empty()) {
    result.status = ReadArgsStatus::RequiredArgumentMissing;
    return result;
  }
  result.status = ReadArgsStatus::Ok;
  result.vector_file = std::move(*value);
  return result;
}
