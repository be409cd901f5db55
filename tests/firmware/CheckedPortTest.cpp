#include <gtest/gtest.h>

#include "firmware/ReaderLink.h"
#include "sim/halvex/SimBus.h"
#include "tests/firmware/CheckedPort.h"

using halvexsim::SimBus;
using halvextest::CheckedPort;

namespace {

// A pause that adds its length to the start reading, which overflows near the clock's wrap.
void NaivePause(halvex::ReaderPort& port, uint32_t ms) {
  const uint32_t start = port.TickCount();
  while (port.TickCount() <= start + ms) port.DispatchOneMessage();
}

TEST(CheckedPortTest, PausesMustLastADocumentedLength) {
  struct Case {
    const char* name;
    uint32_t clockStart;
    bool naive;
    uint32_t ms;
    bool violation;
  };
  const Case cases[] = {
      {"library pause across the wrap", 0xFFFFFFF0u, false, 50, false},
      {"naive pause far from the wrap", 1000, true, 100, false},
      {"naive pause across the wrap ends at once", 0xFFFFFFF0u, true, 50, true},
      {"undocumented length", 0, false, 30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimBus bus(c.clockStart, 3);
    CheckedPort port(bus);
    halvex::ReaderLink link(port);
    port.BeginCall();
    for (int i = 0; i < 3; ++i) {
      if (c.naive)
        NaivePause(port, c.ms);
      else
        link.WaitWithMessages(c.ms);
    }
    port.EndCall();
    EXPECT_EQ(port.Violations().empty(), !c.violation);
  }
}

TEST(CheckedPortTest, PortsAndControlBitsOutsideTheProtocolAreReported) {
  SimBus bus;
  CheckedPort port(bus);
  port.BeginCall();
  port.In(0x3C3);
  port.Out(0x301, 0x0F);
  EXPECT_TRUE(port.Violations().empty());
  port.In(0x304);
  port.Out(0x3E1, 0x00);
  port.Out(0x321, 0x10);
  port.EndCall();
  EXPECT_EQ(port.Violations(), (std::vector<std::string>{"port 0x304 is not on a candidate base",
                                                         "port 0x3e1 is not on a candidate base",
                                                         "control byte 0x10 written to 0x321"}));
}

TEST(CheckedPortTest, QuitTakenMustBeHandedBackOnce) {
  for (const int reposts : {0, 1, 2}) {
    SCOPED_TRACE(reposts);
    SimBus bus;
    bus.QueueQuit(4);
    CheckedPort port(bus);
    halvex::ReaderLink link(port);
    port.BeginCall();
    link.WaitWithMessages(10);
    for (int i = 0; i < reposts; ++i) port.RepostQuit(4);
    port.EndCall();
    EXPECT_EQ(port.Violations().empty(), reposts == 1);
  }
}

}  // namespace
