// winscard and pcsc-lite declare the same functions; only the headers and a few types differ.
#ifdef _WIN32
#include <windows.h>
#include <winscard.h>
#else
#include <winscard.h>
#endif

#include <algorithm>

#include "drivers/pcsc/SystemApi.h"

namespace pcsc {

namespace {
// Short APDUs answer at most 256 bytes and the status words; CT_data's buffer holds at most 65535.
constexpr DWORD kResponseCapacity = 65538;
// An ATR has at most 33 bytes; Windows keeps room for 36.
constexpr DWORD kAtrCapacity = 36;

DWORD DispositionOf(Disposition disposition) {
  switch (disposition) {
    case Disposition::Reset:
      return SCARD_RESET_CARD;
    case Disposition::Unpower:
      return SCARD_UNPOWER_CARD;
    case Disposition::Eject:
      return SCARD_EJECT_CARD;
    case Disposition::Leave:
      break;
  }
  return SCARD_LEAVE_CARD;
}

Protocol ProtocolOf(DWORD active) { return active == SCARD_PROTOCOL_T0 ? Protocol::T0 : Protocol::T1; }

Result ResultOf(LONG result) { return static_cast<Result>(result); }

class System : public Api {
 public:
  Result EstablishContext(Context& context) override {
    SCARDCONTEXT handle = 0;
    const LONG result = SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &handle);
    context = static_cast<Context>(handle);
    return ResultOf(result);
  }

  Result ReleaseContext(Context context) override {
    return ResultOf(SCardReleaseContext(static_cast<SCARDCONTEXT>(context)));
  }

  Result ListReaders(Context context, std::vector<std::string>& readers) override {
    readers.clear();
    // The list may grow between asking its size and reading it; then ask again.
    for (int attempt = 0; attempt < 3; ++attempt) {
      DWORD size = 0;
      LONG result = SCardListReaders(static_cast<SCARDCONTEXT>(context), nullptr, nullptr, &size);
      if (result != SCARD_S_SUCCESS) return ResultOf(result);
      std::string multi(size, '\0');
      result = SCardListReaders(static_cast<SCARDCONTEXT>(context), nullptr, multi.data(), &size);
      if (result == static_cast<LONG>(SCARD_E_INSUFFICIENT_BUFFER)) continue;
      if (result != SCARD_S_SUCCESS) return ResultOf(result);
      multi.resize(std::min<std::size_t>(size, multi.size()));
      for (std::size_t at = 0; at < multi.size() && multi[at] != '\0';) {
        const std::size_t end = multi.find('\0', at);
        readers.push_back(multi.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 1;
      }
      return result::kSuccess;
    }
    return result::kInsufficientBuffer;
  }

  Result GetStatusChange(Context context, std::chrono::milliseconds timeout, const std::string& reader,
                         std::uint32_t currentState, std::uint32_t& eventState) override {
    SCARD_READERSTATE state{};
    state.szReader = reader.c_str();
    state.dwCurrentState = currentState;
    const LONG result = SCardGetStatusChange(static_cast<SCARDCONTEXT>(context),
                                             static_cast<DWORD>(timeout.count()), &state, 1);
    eventState = static_cast<std::uint32_t>(state.dwEventState);
    return ResultOf(result);
  }

  Result Cancel(Context context) override {
    return ResultOf(SCardCancel(static_cast<SCARDCONTEXT>(context)));
  }

  Result Connect(Context context, const std::string& reader, Handle& card, Protocol& active) override {
    SCARDHANDLE handle = 0;
    DWORD protocol = 0;
    const LONG result = SCardConnect(static_cast<SCARDCONTEXT>(context), reader.c_str(), SCARD_SHARE_SHARED,
                                     SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &handle, &protocol);
    card = static_cast<Handle>(handle);
    active = ProtocolOf(protocol);
    return ResultOf(result);
  }

  Result Reconnect(Handle card, Disposition initialization, Protocol& active) override {
    DWORD protocol = 0;
    const LONG result =
        SCardReconnect(static_cast<SCARDHANDLE>(card), SCARD_SHARE_SHARED,
                       SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, DispositionOf(initialization), &protocol);
    if (result == SCARD_S_SUCCESS) active = ProtocolOf(protocol);
    return ResultOf(result);
  }

  Result Disconnect(Handle card, Disposition disposition) override {
    return ResultOf(SCardDisconnect(static_cast<SCARDHANDLE>(card), DispositionOf(disposition)));
  }

  Result Status(Handle card, Bytes& atr) override {
    DWORD nameLength = 0, state = 0, protocol = 0;
    BYTE buffer[kAtrCapacity];
    DWORD atrLength = sizeof buffer;
    const LONG result = SCardStatus(static_cast<SCARDHANDLE>(card), nullptr, &nameLength, &state, &protocol,
                                    buffer, &atrLength);
    atr.assign(buffer, buffer + (result == SCARD_S_SUCCESS ? std::min<DWORD>(atrLength, sizeof buffer) : 0));
    return ResultOf(result);
  }

  Result Transmit(Handle card, Protocol protocol, const Bytes& command, Bytes& response) override {
    response.resize(kResponseCapacity);
    DWORD length = kResponseCapacity;
    const LONG result =
        SCardTransmit(static_cast<SCARDHANDLE>(card), protocol == Protocol::T0 ? SCARD_PCI_T0 : SCARD_PCI_T1,
                      command.data(), static_cast<DWORD>(command.size()), nullptr, response.data(), &length);
    response.resize(result == SCARD_S_SUCCESS ? std::min<DWORD>(length, kResponseCapacity) : 0);
    return ResultOf(result);
  }
};
}  // namespace

Api& SystemApi() {
  static System system;
  return system;
}

}  // namespace pcsc
