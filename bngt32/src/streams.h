#pragma once
// Byte sources and sinks the gzip and tar code reads and writes through, so the
// same code serves files, memory blocks and callbacks, and tests can inject
// tiny reads and failing writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bngt32.h"

namespace bngt32 {

class ByteSource {
public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes; 0 at the end; -1 on a read error.
  virtual ptrdiff_t Read(void* buffer, size_t size) = 0;
};

class ByteSink {
public:
  virtual ~ByteSink() = default;
  // All `size` bytes or false.
  virtual bool Write(const void* data, size_t size) = 0;
};

// Reads a whole `size` bytes unless the source ends or fails first; returns
// the count read or -1.
ptrdiff_t ReadFully(ByteSource& source, void* buffer, size_t size);

class FileSource : public ByteSource {
public:
  explicit FileSource(int fd) : fd_(fd) {}
  ptrdiff_t Read(void* buffer, size_t size) override;

private:
  int fd_;
};

class FileSink : public ByteSink {
public:
  explicit FileSink(int fd) : fd_(fd) {}
  bool Write(const void* data, size_t size) override;

private:
  int fd_;
};

class MemorySource : public ByteSource {
public:
  MemorySource(const void* data, size_t size)
      : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  ptrdiff_t Read(void* buffer, size_t size) override;

private:
  const unsigned char* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Writes into a caller's block, never past its end.
class MemorySink : public ByteSink {
public:
  MemorySink(void* block, size_t capacity)
      : block_(static_cast<unsigned char*>(block)), capacity_(capacity) {}
  bool Write(const void* data, size_t size) override;
  size_t Written() const { return written_; }

private:
  unsigned char* block_;
  size_t capacity_;
  size_t written_ = 0;
};

class StringSink : public ByteSink {
public:
  bool Write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), size);
    return true;
  }
  std::string bytes;
};

class NullSink : public ByteSink {
public:
  bool Write(const void*, size_t) override { return true; }
};

// Input from / output to the caller's memory data function.
class CallbackSource : public ByteSource {
public:
  CallbackSource(GTMEMDATAPROC proc, void* userData) : proc_(proc), userData_(userData) {}
  ptrdiff_t Read(void* buffer, size_t size) override;

private:
  GTMEMDATAPROC proc_;
  void* userData_;
};

class CallbackSink : public ByteSink {
public:
  CallbackSink(GTMEMDATAPROC proc, void* userData) : proc_(proc), userData_(userData) {}
  bool Write(const void* data, size_t size) override;

private:
  GTMEMDATAPROC proc_;
  void* userData_;
};

// Writes each LF as CR LF into another sink.
class CrlfSink : public ByteSink {
public:
  explicit CrlfSink(ByteSink& inner) : inner_(inner) {}
  bool Write(const void* data, size_t size) override;

private:
  ByteSink& inner_;
};

}  // namespace bngt32
