// The PC/SC bridge's CT-API over the fake PC/SC, with any sequence of calls, card moves, reader
// changes and PC/SC failures, any bytes and lengths, and null pointers. The response buffer is
// exactly lenr long, so a write past it is caught; the fake's time makes every wait pass at once.
#include <cstdint>
#include <string>
#include <vector>

#include "drivers/pcsc/PcscBridge.h"
#include "tests/drivers/pcsc/FakePcsc.h"
#include "tests/support/FuzzInput.h"

namespace {

const char* const kCalls[] = {"EstablishContext", "ListReaders", "GetStatusChange", "Connect",
                              "Reconnect",        "Disconnect",  "Status",          "Transmit"};
const pcsc::Result kResults[] = {
    pcsc::result::kSuccess,      pcsc::result::kTimeout,           pcsc::result::kCancelled,
    pcsc::result::kNoService,    pcsc::result::kServiceStopped,    pcsc::result::kInvalidHandle,
    pcsc::result::kNoReaders,    pcsc::result::kReaderUnavailable, pcsc::result::kUnknownReader,
    pcsc::result::kRemovedCard,  pcsc::result::kResetCard,         pcsc::result::kSharingViolation,
    pcsc::result::kCommError,    pcsc::result::kUnresponsiveCard,  pcsc::result::kNoSmartcard,
    pcsc::result::kUnpoweredCard};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  pcsc_test::FakePcsc fake;
  fake.readers = {{"Reader A"}, {"Reader B"}};
  std::vector<std::uint8_t> answer;
  fake.card = [&](const pcsc_test::Bytes&) { return answer; };
  std::string setting;
  pcsc::PcscBridge bridge(
      fake, [&] { return setting; }, [&] { return fake.Now(); });

  for (int steps = 0; !in.Empty() && steps < 64; ++steps) {
    const std::uint8_t op = in.Byte();
    const std::uint16_t ctn = op >> 6;
    switch (op & 0x07) {
      case 0:
        bridge.Init(ctn, in.Byte() & 0x0F);
        break;
      case 1:
        bridge.Close(ctn);
        break;
      case 2: {
        const std::uint8_t what = in.Byte();
        pcsc_test::FakeReader& reader = fake.readers[what & 1];
        if (what & 0x02) {
          fake.moves.push_back(
              {fake.Now() + std::chrono::milliseconds(in.Word() * 10), reader.name, !(what & 4)});
        } else {
          fake.Move(reader.name, !reader.present);
        }
        if (what & 0x08) reader.atr = in.Take(in.Byte() % 40);
        reader.protocol = what & 0x10 ? pcsc::Protocol::T0 : pcsc::Protocol::T1;
        reader.canEject = !(what & 0x20);
        if (what & 0x40) setting = what & 0x80 ? "reader b" : "nothing";
        break;
      }
      case 3: {
        const std::uint8_t which = in.Byte();
        fake.failures.insert(
            {kCalls[which % std::size(kCalls)], kResults[(which >> 3) % std::size(kResults)]});
        break;
      }
      case 4: {
        char version[pcsc::PcscBridge::kVersionCapacity];
        bridge.Version(op & 0x08 ? nullptr : version, 0);
        if (op & 0x10) answer = in.Take(in.Word() % 600);
        if (op & 0x20) fake.service = !fake.service;
        break;
      }
      default:
        FuzzCtData(bridge, ctn, op, in);
        break;
    }
  }
  return 0;
}
