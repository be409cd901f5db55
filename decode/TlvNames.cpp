#include "decode/TlvNames.h"

#include <algorithm>

namespace decode {
namespace {

struct TagName {
  std::uint32_t tag;
  std::string_view name;
};

// Anywhere, from a card.
constexpr TagName kInterindustry[] = {
    {0x06, "Object identifier"},
    {0x41, "Country code and national data"},
    {0x42, "Issuer identification number"},
    {0x43, "Card service data"},
    {0x44, "Initial access data"},
    {0x45, "Card issuer's data"},
    {0x46, "Pre-issuing data"},
    {0x47, "Card capabilities"},
    {0x48, "Status information"},
    {0x4D, "Extended header list"},
    {0x4F, "Application identifier (AID)"},
    {0x50, "Application label"},
    {0x51, "Path"},
    {0x52, "Command to perform"},
    {0x53, "Discretionary data"},
    {0x59, "Card expiration date"},
    {0x5A, "Application primary account number (PAN)"},
    {0x5B, "Name of an individual"},
    {0x5C, "Tag list"},
    {0x5F20, "Cardholder name"},
    {0x5F24, "Expiration date"},
    {0x5F25, "Effective date"},
    {0x5F28, "Issuer country code"},
    {0x5F29, "Interchange profile"},
    {0x5F2D, "Language preference"},
    {0x5F50, "Uniform resource locator"},
    {0x5F52, "Historical bytes"},
    {0x61, "Application template"},
    {0x62, "File control parameters (FCP)"},
    {0x63, "Wrapper"},
    {0x64, "File management data (FMD)"},
    {0x65, "Cardholder related data"},
    {0x66, "Card data"},
    {0x67, "Authentication data"},
    {0x68, "Special user requirements"},
    {0x6A, "Login template"},
    {0x6E, "Application related data"},
    {0x6F, "File control information (FCI)"},
    {0x73, "Discretionary data objects"},
    {0x7C, "Dynamic authentication template"},
    {0x7D, "Secure messaging template"},
    {0x7E, "Interindustry data objects for confirmation"},
    {0x7F21, "Cardholder certificate"},
    {0x7F2E, "Biometric data template"},
    {0x7F49, "Cardholder public key template"},
    {0x7F60, "Biometric information template"},
    {0x7F61, "Biometric information group template"},
};

// Inside FCP, FMD and FCI.
constexpr TagName kFileControl[] = {
    {0x80, "Number of data bytes in the file, excluding structural information"},
    {0x81, "Number of data bytes in the file, including structural information"},
    {0x82, "File descriptor"},
    {0x83, "File identifier"},
    {0x84, "DF name"},
    {0x85, "Proprietary information, primitive"},
    {0x86, "Security attribute in proprietary format"},
    {0x87, "Identifier of an EF containing an FCI extension"},
    {0x88, "Short EF identifier"},
    {0x8A, "Life cycle status"},
    {0x8B, "Security attribute referencing the expanded format"},
    {0x8C, "Security attribute in compact format"},
    {0x8D, "Identifier of an EF containing security environment templates"},
    {0x8E, "Channel security attribute"},
    {0xA0, "Security attribute template for data objects"},
    {0xA1, "Security attribute template in proprietary format"},
    {0xA2, "Template of pairs of tags and EF identifiers"},
    {0xA5, "Proprietary information, constructed"},
    {0xAB, "Security attribute template in expanded format"},
    {0xAC, "Cryptographic mechanism identifier template"},
};
constexpr std::uint32_t kFileControlParents[] = {0x62, 0x64, 0x6F};

// GET STATUS of the terminal.
constexpr TagName kTerminalStatus[] = {
    {0x46, "CT manufacturer data"},
    {0x80, "ICC status"},
    {0x81, "Functional units"},
};

std::uint32_t TagNumber(std::span<const std::uint8_t> tag) {
  std::uint32_t number = 0;
  for (const std::uint8_t b : tag) number = number << 8 | b;
  return number;
}

std::string_view Find(std::span<const TagName> names, std::uint32_t tag) {
  const auto it = std::find_if(names.begin(), names.end(), [tag](const TagName& n) { return n.tag == tag; });
  return it == names.end() ? std::string_view() : it->name;
}

}  // namespace

std::string_view TlvTagName(std::span<const std::uint8_t> tag, std::span<const std::uint8_t> parent,
                            TlvSource source) {
  if (tag.size() > 4) return {};
  const std::uint32_t number = TagNumber(tag);
  if (parent.empty() && source == TlvSource::Terminal) {
    if (const std::string_view name = Find(kTerminalStatus, number); !name.empty()) return name;
  }
  const std::uint32_t parentNumber = parent.size() <= 4 ? TagNumber(parent) : 0;
  if (std::find(std::begin(kFileControlParents), std::end(kFileControlParents), parentNumber) !=
      std::end(kFileControlParents)) {
    if (const std::string_view name = Find(kFileControl, number); !name.empty()) return name;
  }
  return Find(kInterindustry, number);
}

}  // namespace decode
