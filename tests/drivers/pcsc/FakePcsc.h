#pragma once
// PC/SC as a test wants it: readers with or without a card, card moves at set times, answers from a
// function, and any call failing with any result. Time passes only when a wait runs out or reaches
// the next card move, so waits of minutes take none.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "drivers/pcsc/PcscApi.h"

namespace pcsc_test {

using pcsc::Bytes;
using pcsc::Result;
using Milliseconds = std::chrono::milliseconds;

struct FakeReader {
  std::string name;
  bool present = false;
  Bytes atr{0x3B, 0x95, 0x13, 0x81, 0x01, 0x80, 0x73, 0xFF, 0x01, 0x00, 0x0B};
  pcsc::Protocol protocol = pcsc::Protocol::T1;
  bool canEject = true;
  std::uint32_t events = 0;  // counts insertions and removals
};

struct CardMove {
  Milliseconds at;
  std::string reader;
  bool present;
};

class FakePcsc : public pcsc::Api {
 public:
  FakePcsc();

  // The world.
  std::vector<FakeReader> readers;
  bool service = true;
  std::function<Bytes(const Bytes&)> card;  // the powered card's answer to an APDU
  std::deque<CardMove> moves;               // in time order
  // The next call of that name ("Connect", "Transmit", ...) gives this result instead.
  std::multimap<std::string, Result> failures;
  // Waits with a time limit block until Cancel, as if nothing ever happened.
  bool blockingWaits = false;

  // What happened.
  std::vector<std::string> calls;  // "Connect", "Disconnect Eject", "Transmit T0", ...
  int openContexts = 0;

  Milliseconds Now();
  void Move(const std::string& reader, bool present);
  FakeReader* Find(const std::string& name);

  Result EstablishContext(pcsc::Context& context) override;
  Result ReleaseContext(pcsc::Context context) override;
  Result ListReaders(pcsc::Context context, std::vector<std::string>& names) override;
  Result GetStatusChange(pcsc::Context context, Milliseconds timeout, const std::string& reader,
                         std::uint32_t currentState, std::uint32_t& eventState) override;
  Result Cancel(pcsc::Context context) override;
  Result Connect(pcsc::Context context, const std::string& reader, pcsc::Handle& card,
                 pcsc::Protocol& active) override;
  Result Reconnect(pcsc::Handle card, pcsc::Disposition initialization, pcsc::Protocol& active) override;
  Result Disconnect(pcsc::Handle card, pcsc::Disposition disposition) override;
  Result Status(pcsc::Handle card, Bytes& atr) override;
  Result Transmit(pcsc::Handle card, pcsc::Protocol protocol, const Bytes& command, Bytes& response) override;

 private:
  struct Connection {
    std::string reader;
    std::uint32_t events;  // the reader's count when connected: a later move makes the handle stale
  };
  // A failure queued for the call, or success; also records the call.
  Result Enter(const std::string& call, const std::string& detail = "");
  std::uint32_t StateOf(const FakeReader& reader) const;
  Result Check(pcsc::Handle card, FakeReader*& reader);

  std::mutex mutex_;
  std::condition_variable cancelled_;
  bool cancelPending_ = false;
  Milliseconds now_{0};
  std::set<pcsc::Context> contexts_;
  pcsc::Context nextContext_ = 0x100;
  std::map<pcsc::Handle, Connection> connections_;
  pcsc::Handle nextHandle_ = 0x1000;
};

}  // namespace pcsc_test
