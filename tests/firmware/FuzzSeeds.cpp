#include "tests/firmware/FuzzSeeds.h"

#include <utility>

namespace halvextest {

namespace {

using halvexsim::Fault;
using halvexsim::T1Block;

std::vector<uint8_t> ReadReply(const std::string& version) {
  std::vector<uint8_t> info = {0x0F, static_cast<uint8_t>(version.size())};
  info.insert(info.end(), version.begin(), version.end());
  info.push_back(0x90);
  info.push_back(0x00);
  return T1Block(info);
}

// A ready reader with firmware 2.28 at 0x300, on a clock that moves 16 ms per reading.
CardScript Honest() {
  CardScript s;
  s.msPerTickRead = 16;
  s.card.identification = std::vector<uint8_t>{0x01, 0x23, 'K', 'V', 'Q', 'T', '1', ' ', 'R', 'D', 'R'};
  s.card.identification->resize(20, 0x00);
  s.card.blockSizeReply = std::vector<uint8_t>{0x01, 0x00};
  s.card.selectReply = T1Block({0x90, 0x00});
  s.card.readReply = ReadReply("2.28");
  return s;
}

FuzzSeed Seed(std::string name, CardScript script, std::vector<int32_t> results = {0}) {
  return {std::move(name), std::move(script), std::move(results)};
}

template <typename Change>
FuzzSeed Seed(std::string name, std::vector<int32_t> results, Change change) {
  CardScript s = Honest();
  change(s);
  return Seed(std::move(name), std::move(s), std::move(results));
}

}  // namespace

std::vector<FuzzSeed> FuzzSeeds() {
  std::vector<FuzzSeed> seeds;
  seeds.push_back(Seed("version-2.28", Honest()));
  struct Version {
    std::string text;
    int32_t result;
  };
  for (const Version& v :
       {Version{"2.27", 1}, Version{"2.01", 1}, Version{"2.00", 5}, Version{"3.0", 5}, Version{"2.28a", 0}}) {
    seeds.push_back(
        Seed("version-" + v.text, {v.result}, [&](CardScript& s) { s.card.readReply = ReadReply(v.text); }));
  }
  seeds.push_back(Seed("no-version-element", {5}, [](CardScript& s) {
    s.card.readReply = T1Block({0x90, 0x00});
  }));
  seeds.push_back(Seed("element-before-version", {0}, [](CardScript& s) {
    s.card.readReply = T1Block({0x01, 0x03, 0xAA, 0xBB, 0xCC, 0x0F, 0x04, '2', '.', '2', '8', 0x90, 0x00});
  }));
  seeds.push_back(Seed("identification-waiting-at-last-base", {0}, [](CardScript& s) {
    s.card.base = 0x3C0;
    s.card.identificationAtPowerUp = true;
  }));
  seeds.push_back(Seed("wrong-identification-waiting-passed-over", {0}, [](CardScript& s) {
    s.card.identificationAtPowerUp = true;
    (*s.card.identification)[4] = 'X';
    s.secondCard = true;
  }));
  seeds.push_back(Seed("identification-never-drained", {2}, [](CardScript& s) {
    s.card.identificationAtPowerUp = true;
    s.card.fault = Fault::NeverReady;
    s.msPerTickRead = 64;
  }));
  seeds.push_back(Seed("no-card", {2}, [](CardScript& s) { s.cardFitted = false; }));
  struct Failure {
    const char* name;
    Fault fault;
    int32_t result;
  };
  for (const Failure& f :
       {Failure{"gone", Fault::Gone, 2}, Failure{"never-ready", Fault::NeverReady, 2},
        Failure{"no-identification", Fault::NoIdentification, 2},
        Failure{"no-block-size", Fault::NoBlockSize, 2}, Failure{"no-reply", Fault::NoReply, 3},
        Failure{"receive-error", Fault::ReceiveError, 3}, Failure{"send-error", Fault::SendError, 0},
        Failure{"block-size-never-taken", Fault::RefusesBlockSize, 2},
        Failure{"never-ready-after-opening", Fault::NeverOpens, 2}}) {
    seeds.push_back(Seed(f.name, {f.result}, [&](CardScript& s) {
      s.card.fault = f.fault;
      s.msPerTickRead = 64;
    }));
  }
  seeds.push_back(
      Seed("wrong-identification", {2}, [](CardScript& s) { (*s.card.identification)[2] = 'X'; }));
  seeds.push_back(Seed("block-size-above-limit", {0}, [](CardScript& s) {
    s.card.blockSizeReply = std::vector<uint8_t>{0x02, 0x00};
  }));
  seeds.push_back(Seed("block-size-answer-too-short", {0},
                       [](CardScript& s) { s.card.blockSizeReply = std::vector<uint8_t>{0x02}; }));
  seeds.push_back(
      Seed("reader-gone-during-exchange", {3}, [](CardScript& s) { s.card.goneAfterAccesses = 150; }));
  seeds.push_back(Seed("slow-reply", {0}, [](CardScript& s) { s.card.replyDelayMs = 3000; }));
  seeds.push_back(Seed("quit-during-a-wait-near-clock-wrap-twice", {0, 0}, [](CardScript& s) {
    s.msPerTickRead = 1;
    s.clockStart = 0u - 700u;
    s.messages = 20;
    s.quitAfterMs = 600;
    s.quit = true;
    s.quitExitCode = 9;
    s.calls = 2;
  }));
  return seeds;
}

}  // namespace halvextest
