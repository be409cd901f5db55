#include "sim/card/BinaryFile.h"

#include <algorithm>

namespace sim {

namespace {
constexpr std::uint8_t kShortFileId = 0x80;
constexpr std::size_t kLeAll = 256;
}  // namespace

std::optional<std::size_t> PlainOffset(const terminal::CommandApdu& apdu) {
  if (apdu.p1 & kShortFileId) return std::nullopt;
  return (std::size_t{apdu.p1} << 8) | apdu.p2;
}

Bytes ReadBinary(std::span<const std::uint8_t> file, std::size_t offset, const terminal::CommandApdu& apdu) {
  if (!apdu.le || !apdu.data.empty()) return sw::kWrongLength;
  if (offset >= file.size()) return sw::kWrongOffset;
  const std::size_t available = file.size() - offset;
  const std::size_t n = std::min(*apdu.le, available);
  Bytes answer(file.begin() + offset, file.begin() + offset + n);
  const Bytes& status = (*apdu.le > available && *apdu.le != kLeAll) ? sw::kEndReached : sw::kOk;
  answer.insert(answer.end(), status.begin(), status.end());
  return answer;
}

Bytes UpdateBinary(std::span<std::uint8_t> file, std::size_t offset, const terminal::CommandApdu& apdu) {
  if (apdu.data.empty() || apdu.le) return sw::kWrongLength;
  if (offset >= file.size()) return sw::kWrongOffset;
  if (apdu.data.size() > file.size() - offset) return sw::kNotEnoughMemory;
  std::copy(apdu.data.begin(), apdu.data.end(), file.begin() + offset);
  return sw::kOk;
}

}  // namespace sim
