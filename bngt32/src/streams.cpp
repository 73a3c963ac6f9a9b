#include "streams.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

namespace bngt32 {

ptrdiff_t ReadFully(ByteSource& source, void* buffer, size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  size_t done = 0;
  while (done < size) {
    const ptrdiff_t n = source.Read(out + done, size - done);
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ptrdiff_t>(done);
}

ptrdiff_t FileSource::Read(void* buffer, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) return n;
    if (errno != EINTR) return -1;
  }
}

bool FileSink::Write(const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

ptrdiff_t MemorySource::Read(void* buffer, size_t size) {
  const size_t n = std::min(size, size_ - pos_);
  if (n > 0) std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  return static_cast<ptrdiff_t>(n);
}

bool MemorySink::Write(const void* data, size_t size) {
  if (size > capacity_ - written_) return false;
  if (size > 0) std::memcpy(block_ + written_, data, size);
  written_ += size;
  return true;
}

ptrdiff_t CallbackSource::Read(void* buffer, size_t size) {
  const auto limit = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  const int32_t n = proc_(GT_MEMREQUEST_READ, buffer, static_cast<int32_t>(std::min(size, limit)),
                          userData_);
  if (n < 0 || static_cast<size_t>(n) > size) return -1;
  return n;
}

bool CallbackSink::Write(const void* data, size_t size) {
  const auto limit = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const size_t chunk = std::min(size, limit);
    if (proc_(GT_MEMREQUEST_WRITE, const_cast<unsigned char*>(p), static_cast<int32_t>(chunk),
              userData_) != 0) {
      return false;
    }
    p += chunk;
    size -= chunk;
  }
  return true;
}

bool CrlfSink::Write(const void* data, size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  std::vector<unsigned char> out;
  out.reserve(size + size / 8 + 16);
  for (size_t i = 0; i < size; ++i) {
    if (p[i] == '\n') out.push_back('\r');
    out.push_back(p[i]);
  }
  return inner_.Write(out.data(), out.size());
}

}  // namespace bngt32
