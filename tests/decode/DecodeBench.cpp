// What explaining an answer costs: a 33-byte ATR with every kind of interface byte, and a 64 KB
// TLV answer of nested templates.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "decode/Atr.h"
#include "decode/Tlv.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// TA1 to TD3, TA4 to TC4 for T=1 and T=15, 15 historical bytes of compact-TLV objects, TCK.
Bytes LongestAtr() {
  Bytes atr{0x3B, 0xFF, 0x96, 0x00, 0xFF, 0xF1, 0x10, 0x00, 0x0A, 0xF1, 0xFE, 0x45, 0x01, 0x7F, 0x07, 0x00,
            0x00, 0x80, 0x31, 0xC0, 0x73, 0xD6, 0x21, 0xC0, 0x65, 0x01, 0x02, 0x03, 0x04, 0x05, 0x81, 0x05};
  std::uint8_t tck = 0;
  for (std::size_t i = 1; i < atr.size(); ++i) tck ^= atr[i];
  atr.push_back(tck);
  return atr;
}

void Append(Bytes& out, std::uint8_t tag, const Bytes& value) {
  out.push_back(tag);
  if (value.size() > 0x7F) {
    out.push_back(0x82);
    out.push_back(static_cast<std::uint8_t>(value.size() >> 8));
  }
  out.push_back(static_cast<std::uint8_t>(value.size()));
  out.insert(out.end(), value.begin(), value.end());
}

// Application templates (AID, label, discretionary data objects), grouped, in one wrapper.
Bytes NestedTlv(std::size_t size) {
  Bytes application;
  Append(application, 0x4F, {0xA0, 0x00, 0x00, 0x00, 0x04, 0x10, 0x10});
  Append(application, 0x50, Bytes(10, 'A'));
  Bytes discretionary;
  Append(discretionary, 0x53, Bytes(12, 0x5A));
  Append(discretionary, 0x53, Bytes(8, 0x5B));
  Append(application, 0x73, discretionary);
  Bytes template_;
  Append(template_, 0x61, application);
  Bytes group;
  while (group.size() + template_.size() < 1000)
    group.insert(group.end(), template_.begin(), template_.end());
  Bytes groups;
  Bytes one;
  Append(one, 0x70, group);
  while (groups.size() + one.size() + 6 < size) groups.insert(groups.end(), one.begin(), one.end());
  Bytes tlv;
  Append(tlv, 0x63, groups);
  return tlv;
}

void DecodeLongestAtr(benchmark::State& run) {
  const Bytes atr = LongestAtr();
  for (auto _ : run) benchmark::DoNotOptimize(decode::DecodeAtr(atr));
  if (!decode::DecodeAtr(atr).problems.empty()) run.SkipWithError("the ATR is not sound");
}

void DecodeNestedTlv(benchmark::State& run) {
  const Bytes tlv = NestedTlv(64 * 1024);
  for (auto _ : run) benchmark::DoNotOptimize(decode::DecodeTlv(tlv));
  if (!decode::DecodeTlv(tlv).problems.empty()) run.SkipWithError("the TLV is not sound");
  run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * tlv.size()));
}

void RenderNestedTlv(benchmark::State& run) {
  const decode::TlvTree tree = decode::DecodeTlv(NestedTlv(64 * 1024));
  for (auto _ : run) benchmark::DoNotOptimize(decode::TlvLines(tree));
}

}  // namespace

BENCHMARK(DecodeLongestAtr);
BENCHMARK(DecodeNestedTlv)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderNestedTlv)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
