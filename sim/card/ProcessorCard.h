#pragma once
// An asynchronous processor card with an ISO 7816-4 file system, PINs and, on T=0, GET RESPONSE.
// Without a spec it is the built-in card: the MF 3F00 and a transparent EF 2F01 of 32 bytes that
// anyone may read and that PIN 01 guards against writing.

#include <optional>
#include <random>
#include <set>

#include "sim/card/CardSpec.h"
#include "sim/card/SimCard.h"
#include "terminal/CommandApdu.h"

namespace sim {

class ProcessorCard : public SimCard {
 public:
  ProcessorCard() : ProcessorCard(BuiltInProcessorSpec()) {}
  explicit ProcessorCard(ProcessorSpec spec);
  terminal::AnswerToReset PowerOn() override;
  void PowerOff() override;
  Bytes Process(const Bytes& apdu) override;

 private:
  using Apdu = terminal::CommandApdu;
  enum class Want { Any, Df, Ef };

  Bytes Answer(const Apdu& apdu);
  Bytes GetResponse(const Apdu& apdu);
  Bytes Select(const Apdu& apdu);
  std::optional<std::size_t> Find(const Apdu& apdu, bool& wrongP1, bool& wrongLength) const;
  Bytes Selected(std::size_t file, std::uint8_t p2);
  Bytes Template(std::size_t file, bool fcp) const;
  Bytes ReadOrUpdateBinary(const Apdu& apdu, bool update);
  Bytes ReadRecord(const Apdu& apdu);
  Bytes GetChallenge(const Apdu& apdu);
  Bytes Verify(const Apdu& apdu);

  std::optional<std::size_t> Child(std::size_t df, std::uint16_t fid, Want want) const;
  std::optional<std::size_t> Path(std::size_t from, std::span<const std::uint8_t> fids) const;
  std::optional<std::size_t> ByShortId(std::uint8_t sfi) const;
  bool Allowed(const AccessRule& rule) const;

  ProcessorSpec spec_;
  std::vector<int> triesLeft_;  // by index in spec_.pins
  std::set<std::uint8_t> verified_;
  std::size_t currentDf_ = 0;
  std::optional<std::size_t> currentEf_;
  Bytes pending_;        // T=0: data waiting for GET RESPONSE
  Bytes pendingStatus_;  // and the status words that end them
  std::mt19937 random_;
};

}  // namespace sim
