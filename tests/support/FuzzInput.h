#pragma once
// Reads a fuzz input as a script: bytes, big-endian words and runs of bytes, zeros past its end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
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

// One CT_data call scripted by the input: addresses, any lenr and lenc (with buffers exactly that
// long, so a write past them is caught), and null pointers chosen by bits 3 to 5 of op.
template <class Terminal>
void FuzzCtData(Terminal& terminal, std::uint16_t ctn, std::uint8_t op, FuzzInput& in) {
  std::uint8_t dad = in.Byte(), sad = in.Byte();
  std::uint16_t lenr = in.Word();
  const std::uint16_t lenc = in.Word();
  std::vector<std::uint8_t> command = in.Take(lenc);
  // Claim the whole length when the input ran short, with a buffer that really is that long.
  command.resize(lenc);
  std::vector<std::uint8_t> response(lenr);
  const bool nullCommand = op & 0x08, nullResponse = op & 0x10, nullLenr = op & 0x20;
  terminal.Data(ctn, &dad, &sad, lenc, nullCommand ? nullptr : command.data(), nullLenr ? nullptr : &lenr,
                nullResponse ? nullptr : response.data());
}

// The input bytes that make FuzzCtData send this command: op (which also picks the step in the
// fuzzer), then the call as FuzzCtData reads it. For seeds.
inline std::vector<std::uint8_t> FuzzCtDataScript(std::uint8_t op, std::uint8_t dad, std::uint8_t sad,
                                                  std::uint16_t lenr, std::span<const std::uint8_t> command) {
  std::vector<std::uint8_t> script{op, dad, sad};
  for (const std::uint16_t word : {lenr, static_cast<std::uint16_t>(command.size())}) {
    script.push_back(static_cast<std::uint8_t>(word >> 8));
    script.push_back(static_cast<std::uint8_t>(word));
  }
  script.insert(script.end(), command.begin(), command.end());
  return script;
}
