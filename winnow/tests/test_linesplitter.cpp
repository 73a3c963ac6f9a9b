// The line splitter against a plain reference: the same lines, and the same
// answer to "high byte?" and "quote?", whatever the line ends and wherever
// the blocks are cut.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "linesplitter.h"

namespace {

struct Line {
  std::string text;
  bool highByte;
  bool quote;
  bool operator==(const Line&) const = default;
};

struct Collector {
  std::vector<Line> lines;
  void operator()(std::string_view text, kt::winnow::LineBytes bytes) {
    lines.push_back({std::string(text), bytes.highByte, bytes.quote});
  }
};

// Lines end at CR LF, CR or LF; a last line without an end counts.
std::vector<Line> Reference(std::string_view data) {
  std::vector<Line> lines;
  std::string current;
  auto flush = [&] {
    bool high = false, quote = false;
    for (char c : current) {
      high |= static_cast<unsigned char>(c) > 127;
      quote |= c == '"';
    }
    lines.push_back({current, high, quote});
    current.clear();
  };
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\r') {
      flush();
      if (i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else if (data[i] == '\n') {
      flush();
    } else {
      current += data[i];
    }
  }
  if (!current.empty()) flush();
  return lines;
}

std::vector<Line> Split(std::string_view data, const std::vector<size_t>& cuts) {
  Collector collector;
  kt::winnow::LineSplitter<Collector> splitter(collector);
  size_t at = 0;
  for (size_t cut : cuts) {
    splitter.Feed(data.substr(at, cut - at));
    at = cut;
  }
  splitter.Feed(data.substr(at));
  splitter.Finish();
  return collector.lines;
}

TEST(WinnowLineSplitter, MatchesThePlainSplitOnRandomTextCutAnywhere) {
  // Few symbols, so that line ends, quotes and high bytes fall at every
  // position of an eight-byte word, and lines of every short length occur.
  const std::string alphabet = std::string("ab \"\r\n\n\xC3\xA9", 9) + "0123";
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    std::string data(random() % 80, ' ');
    for (char& c : data) c = alphabet[random() % alphabet.size()];
    std::vector<size_t> cuts;
    for (size_t k = random() % 4, at = 0; k > 0 && !data.empty(); --k) {
      at = std::min(data.size(), at + random() % (data.size() + 1));
      cuts.push_back(at);
    }
    ASSERT_EQ(Split(data, cuts), Reference(data)) << "round " << round;
  }
}

TEST(WinnowLineSplitter, KnownCases) {
  const struct {
    std::string data;
    std::vector<size_t> cuts;
    std::vector<Line> lines;
  } cases[] = {
      {"0 HEAD\r\n1 CHAR UTF-8\r\n", {}, {{"0 HEAD", false, false}, {"1 CHAR UTF-8", false, false}}},
      {"0 HEAD\r\n0 TRLR", {7}, {{"0 HEAD", false, false}, {"0 TRLR", false, false}}},  // CR | LF
      {"a\rb\n\nc", {}, {{"a", false, false}, {"b", false, false}, {"", false, false}, {"c", false, false}}},
      {"1 NAME Ren\xC3\xA9 /Dupont/\n", {12}, {{"1 NAME Ren\xC3\xA9 /Dupont/", true, false}}},
      {"2 NOTE a long line that says \"so\"\n1 X\n", {}, {{"2 NOTE a long line that says \"so\"", false, true},
                                                        {"1 X", false, false}}},
      {"12345678\n\"\xFF", {}, {{"12345678", false, false}, {"\"\xFF", true, true}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Split(c.data, c.cuts), c.lines) << c.data;
}

}  // namespace
