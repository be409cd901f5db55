#pragma once
// Reads a fuzz input as a script: bytes, big-endian words and runs of bytes, zeros past its end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() << 8 | Byte()); }
  std::vector<std::uint8_t> Take(std::size_t n) {
    n = std::min(n, size_ - pos_);
    std::vector<std::uint8_t> out(data_ + pos_, data_ + pos_ + n);
    pos_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
