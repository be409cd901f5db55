#pragma once
// The test console's state besides its lists: program-wide like the lists, so the request file
// loader and the command list editor see what the console sees. Addresses and the response
// outlive each console.
#include <array>
#include <cstdint>
#include <string>

#include "console/CommandLists.h"
#include "console/CommandText.h"
#include "console/ResponseDisplay.h"

struct ConsoleState {
  static constexpr std::size_t kResponseCapacity = 4096;

  bool commandEdited = false;  // CT_data sends the typed text, not the selected entry
  bool fileChosen = false;     // a request file was chosen in this console
  CommandAddresses addresses;  // as passed to CT_data and written back by the driver
  std::array<std::uint8_t, kResponseCapacity> response{};
  std::uint16_t responseLength = 0;
  DisplayMode displayMode = DisplayMode::Hex;
  std::string displayText;  // the last response as shown
  std::string logText;      // and as logged
  std::int16_t lineCount = 0;
  std::int16_t scrollPosition = 0;
};

ConsoleState& Console();

// A console opens with empty drop-down lists; the texts of earlier lists, the addresses and the
// response stay in memory.
void ResetForNewConsole(ConsoleState& state, CommandLists& lists);
void ReleaseResponseTexts(ConsoleState& state);

// Rebuilds the display and log text of the stored response in the current mode. A response of no
// bytes leaves everything as it was and returns false. Over two lines, the view goes back to the top.
bool RebuildResponseTexts(ConsoleState& state);
