// The gzip and tar readers and writers fed in tiny blocks, cut at every byte,
// and writing into a sink that fails after N bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "gzipformat.h"
#include "streams.h"
#include "tarformat.h"
#include "testsupport.h"

namespace bngt32test {
namespace {

using namespace bngt32;

std::string Fixture(const std::string& name) {
  return ReadFile(std::string(KINTRAIL_SOURCE_DIR) + "/bngt32/tests/fixtures/" + name);
}

// Hands out 1 to 7 bytes per read: every buffer boundary gets crossed.
class TinyBlockSource : public ByteSource {
public:
  explicit TinyBlockSource(std::string data) : data_(std::move(data)) {}
  ptrdiff_t Read(void* buffer, size_t size) override {
    const size_t n = std::min({size, data_.size() - pos_, size_t{1} + (calls_++ % 7)});
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return static_cast<ptrdiff_t>(n);
  }

private:
  std::string data_;
  size_t pos_ = 0;
  size_t calls_ = 0;
};

// Accepts `limit` bytes, then fails every write.
class FailingSink : public ByteSink {
public:
  explicit FailingSink(size_t limit) : limit_(limit) {}
  bool Write(const void* data, size_t size) override {
    if (size > limit_ - written_) return false;
    bytes.append(static_cast<const char*>(data), size);
    written_ += size;
    return true;
  }
  std::string bytes;

private:
  size_t limit_;
  size_t written_ = 0;
};

int32_t Gunzip(ByteSource& source, ByteSink& sink) {
  GzipHeader header;
  if (const int32_t code = ReadGzipHeader(source, header); code != 0) return code;
  GzipBodyResult result;
  return DecodeGzipBody(source, header, sink, result);
}

TEST(Bngt32Faults, GzipFixturesDecodeInTinyBlocks) {
  const std::string expected = Fixture("summary.xml");
  for (const char* name : {"gnu-named.xml.gz", "gnu-noname.gz", "pigz.xml.gz"}) {
    SCOPED_TRACE(name);
    TinyBlockSource source(Fixture(name));
    StringSink sink;
    ASSERT_EQ(Gunzip(source, sink), 0);
    EXPECT_EQ(sink.bytes, expected);
  }
}

TEST(Bngt32Faults, EveryTruncationOfAGzipFileFails) {
  const std::string whole = Fixture("gnu-named.xml.gz");
  for (size_t length = 0; length < whole.size(); ++length) {
    TinyBlockSource source(whole.substr(0, length));
    StringSink sink;
    const int32_t code = Gunzip(source, sink);
    EXPECT_TRUE(code == 1 || code == 3 || code == 13) << length << " bytes: code " << code;
  }
}

TEST(Bngt32Faults, FailingWritesWhileDecodingGiveDiskFull) {
  const std::string gz = Fixture("gnu-named.xml.gz");
  const size_t size = Fixture("summary.xml").size();
  for (size_t limit = 0; limit < size; ++limit) {
    MemorySource source(gz.data(), gz.size());
    FailingSink sink(limit);
    ASSERT_EQ(Gunzip(source, sink), 17) << limit;
  }
}

TEST(Bngt32Faults, FailingWritesWhileCompressingGiveTheirCodes) {
  const std::string data = Fixture("summary.xml");
  GzipWriteOptions options;
  options.storedName = "summary.xml";
  options.level = 9;
  StringSink complete;
  {
    MemorySource source(data.data(), data.size());
    ASSERT_EQ(WriteGzipMember(source, complete, options), 0);
  }
  const size_t headerSize = 10 + options.storedName.size() + 1;
  for (size_t limit = 0; limit < complete.bytes.size(); ++limit) {
    TinyBlockSource source(data);
    FailingSink sink(limit);
    const int32_t code = WriteGzipMember(source, sink, options);
    ASSERT_EQ(code, limit < headerSize ? 13 : 10) << limit;
  }
  // What was written whole decodes back, also from tiny blocks.
  TinyBlockSource source(complete.bytes);
  StringSink back;
  ASSERT_EQ(Gunzip(source, back), 0);
  EXPECT_EQ(back.bytes, data);
}

TEST(Bngt32Faults, TarFixturesWalkInTinyBlocksAndFailAtEveryCut) {
  struct Expected {
    std::string name;
    uint64_t size;
  };
  for (const char* fixture : {"gnu-ustar.tar", "ours.tar", "gnu-longname.tar", "gnu-pax-long.tar"}) {
    SCOPED_TRACE(fixture);
    const std::string whole = Fixture(fixture);
    std::vector<Expected> entries;
    {
      MemorySource source(whole.data(), whole.size());
      TarReader reader(source);
      TarEntry entry;
      while (reader.Next(entry) == 0) {
        StringSink data;
        ASSERT_EQ(reader.CopyData(data), 0);
        EXPECT_EQ(data.bytes.size(), entry.size);
        entries.push_back({entry.name, entry.size});
      }
    }
    ASSERT_GE(entries.size(), 2u);
    if (std::string(fixture).find("long") != std::string::npos) {
      EXPECT_EQ(entries[1].name, std::string(110, 'p') + "/" + std::string(60, 'n') + ".txt");
    }
    {
      TinyBlockSource source(whole);
      TarReader reader(source);
      TarEntry entry;
      for (const Expected& e : entries) {
        ASSERT_EQ(reader.Next(entry), 0);
        EXPECT_EQ(entry.name, e.name);
        StringSink data;
        ASSERT_EQ(reader.CopyData(data), 0);
        EXPECT_EQ(data.bytes.size(), e.size);
      }
      EXPECT_EQ(reader.Next(entry), -1);
    }
    for (size_t length = 0; length < whole.size(); length += 37) {
      TinyBlockSource source(whole.substr(0, length));
      TarReader reader(source);
      TarEntry entry;
      int32_t code = 0;
      while ((code = reader.Next(entry)) == 0) {
        if ((code = reader.SkipData()) != 0) break;
      }
      EXPECT_TRUE(code == -1 || code == 1) << length << ": " << code;
    }
    for (size_t limit = 0; limit < entries[1].size; limit += 13) {
      MemorySource source(whole.data(), whole.size());
      TarReader reader(source);
      TarEntry entry;
      while (reader.Next(entry) == 0 && entry.size != entries[1].size) {
      }
      FailingSink sink(limit);
      EXPECT_EQ(reader.CopyData(sink), 17) << limit;
    }
  }
}

TEST(Bngt32Faults, CrlfTranslationAndHeaderRoundTrip) {
  StringSink out;
  CrlfSink crlf(out);
  ASSERT_TRUE(crlf.Write("a\nb\n\n", 5));
  EXPECT_EQ(out.bytes, "a\r\nb\r\n\r\n");

  unsigned char block[kTarBlock];
  ASSERT_EQ(BuildTarHeader("dir/file.exe", 12345, 1600000000, GT_ATTR_READONLY, block), 0);
  TarEntry entry;
  ASSERT_EQ(ParseTarHeader(block, entry), TarHeaderKind::kEntry);
  EXPECT_EQ(entry.name, "dir/file.exe");
  EXPECT_EQ(entry.size, 12345u);
  EXPECT_EQ(entry.mtime, 1600000000);
  EXPECT_EQ(entry.mode, 0555u);
  // A prefix with its own last "/" (as older writers store it) reads the same.
  const std::string longName = std::string(60, 'a') + "/" + std::string(50, 'b') + ".txt";
  ASSERT_EQ(BuildTarHeader(longName, 1, 0, 0, block), 0);
  ASSERT_EQ(ParseTarHeader(block, entry), TarHeaderKind::kEntry);
  EXPECT_EQ(entry.name, longName);
  block[345 + 60] = '/';
  unsigned sum = 0;
  for (size_t i = 0; i < kTarBlock; ++i) sum += (i >= 148 && i < 156) ? ' ' : block[i];
  std::snprintf(reinterpret_cast<char*>(block) + 148, 8, "%06o", sum);
  block[154] = ' ';
  ASSERT_EQ(ParseTarHeader(block, entry), TarHeaderKind::kEntry);
  EXPECT_EQ(entry.name, longName);
  EXPECT_EQ(BuildTarHeader("big", uint64_t{1} << 33, 0, 0, block), 4) << "size beyond 11 octal digits";
  EXPECT_EQ(BuildTarHeader(std::string(253, 'n'), 1, 0, 0, block), 14);
}

}  // namespace
}  // namespace bngt32test
