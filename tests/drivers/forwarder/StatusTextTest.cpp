#include <gtest/gtest.h>

#include "drivers/forwarder/StatusText.h"

namespace forwarder {
namespace {

TEST(StatusText, SaysWhatFailedAndWhere) {
  const struct {
    Fault fault;
    const char* text;
  } cases[] = {
      {{Failure::NoSettings, "C:\\k\\ZEMTRAK.INI", 2}, "Forwarder: cannot read C:\\k\\ZEMTRAK.INI (error 2)"},
      {{Failure::SettingsTooLarge, "C:\\k\\ZEMTRAK.INI"}, "Forwarder: too large: C:\\k\\ZEMTRAK.INI"},
      {{Failure::NoLibrary, "C:\\k\\ZEMTRAK.INI"}, "Forwarder: no [Driver] Library= in C:\\k\\ZEMTRAK.INI"},
      {{Failure::BadLibrary, "C:\\k\\ZEMTRAK.INI"},
       "Forwarder: unusable [Driver] Library= in C:\\k\\ZEMTRAK.INI"},
      {{Failure::NotLoadable, "vendor.dll", 126}, "Forwarder: cannot load vendor.dll (error 126)"},
      {{Failure::NotLoadable, "C:\\v\\ct32.dll", 193},
       "Forwarder: cannot load C:\\v\\ct32.dll (error 193: not for this architecture)"},
      {{Failure::MissingFunction, "C:\\v\\ct.dll", 0, "CT_data"}, "Forwarder: no CT_data in C:\\v\\ct.dll"},
  };
  for (const auto& c : cases) EXPECT_EQ(FailureText(c.fault), c.text);
  EXPECT_EQ(ForwardingText("C:\\windows\\system32\\ctapi32.dll"),
            "Forwarder to C:\\windows\\system32\\ctapi32.dll");
}

TEST(StatusText, LongPathsKeepTheirEndAndTheErrorNumber) {
  const std::string path = "C:\\" + std::string(240, 'd') + "\\vendor\\ctapi.dll";
  const std::string text = FailureText({Failure::NotLoadable, path, 126});
  EXPECT_EQ(text.size(), kStatusLength);
  EXPECT_TRUE(text.starts_with("Forwarder: cannot load ...ddd")) << text;
  EXPECT_TRUE(text.ends_with("ddd\\vendor\\ctapi.dll (error 126)")) << text;

  const std::string room(kStatusLength - std::string("Forwarder to ").size(), 'x');
  EXPECT_EQ(ForwardingText(room), "Forwarder to " + room) << "exactly fitting: kept whole";
  EXPECT_EQ(ForwardingText(room + "y"), "Forwarder to ..." + room.substr(4) + "y");
}

}  // namespace
}  // namespace forwarder
