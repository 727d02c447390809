// Byte helpers for record tests: a record or a list of records as the bytes
// a file holds, and back.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace support {

// The bytes of one record.
template <class R>
std::string Bytes(const R& rec) {
  return std::string(reinterpret_cast<const char*>(rec.data()), R::kSize);
}

// The bytes of a file holding `recs` in order.
template <class R>
std::string Bytes(const std::vector<R>& recs) {
  std::string out;
  for (const R& r : recs) out += Bytes(r);
  return out;
}

// The same for a braced list: Bytes({a, b}).
template <class R>
std::string Bytes(std::initializer_list<R> recs) {
  return Bytes(std::vector<R>(recs));
}

// The whole records in `bytes` from byte `at` (a partial record at the end
// is left out, as the data store does).
template <class R>
std::vector<R> Records(const std::string& bytes, std::size_t at = 0) {
  std::vector<R> out;
  for (; at + R::kSize <= bytes.size(); at += R::kSize)
    std::copy_n(bytes.data() + at, R::kSize, reinterpret_cast<char*>(out.emplace_back().data()));
  return out;
}

// One record from its bytes (from byte `at`).
template <class R>
R Record(const std::string& bytes, std::size_t at = 0) {
  R rec;
  std::copy_n(bytes.data() + at, std::min(R::kSize, bytes.size() - std::min(at, bytes.size())),
              reinterpret_cast<char*>(rec.data()));
  return rec;
}

}  // namespace support
