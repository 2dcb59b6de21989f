// The -lh5- encoder on the archiver's two benchmark inputs (a year of day files, a 1 MB text;
// made by bench/make_lzh_corpus.py into $MIRUNE_LZH_CORPUS), with the packed size as a counter
// for each encoder setting. bench/lha_compare.sh compares whole archives with other tools.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/lh5_encoder.h"
#include "archive/lzh_writer.h"
#include "platform/file_system.h"

namespace {

std::filesystem::path CorpusDir() {
  const char* dir = std::getenv("MIRUNE_LZH_CORPUS");
  return dir ? dir : "lzh-corpus";
}

const std::vector<std::string>& YearFiles() {
  static std::vector<std::string> files = [] {
    std::vector<std::string> v;
    std::vector<std::filesystem::path> paths;
    for (auto& e : std::filesystem::directory_iterator(CorpusDir() / "year"))
      paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (auto& p : paths) {
      std::string bytes;
      platform::ReadFile(p, bytes);
      v.push_back(bytes);
    }
    return v;
  }();
  return files;
}

const std::string& BigText() {
  static std::string text = [] {
    std::string bytes;
    platform::ReadFile(CorpusDir() / "text1mb.txt", bytes);
    return bytes;
  }();
  return text;
}

archive::Lh5Options Options(const benchmark::State& state) {
  archive::Lh5Options o;
  o.chain_limit = static_cast<int>(state.range(0));
  o.block_symbols = static_cast<int>(state.range(1));
  return o;
}

void BM_Lh5BigText(benchmark::State& state) {
  if (BigText().empty()) {
    state.SkipWithError("no corpus: run bench/make_lzh_corpus.py and set MIRUNE_LZH_CORPUS");
    return;
  }
  size_t packed = 0;
  for (auto _ : state) packed = archive::Lh5Encoder::Encode(BigText(), Options(state)).size();
  state.counters["packed"] = static_cast<double>(packed);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * BigText().size()));
}
BENCHMARK(BM_Lh5BigText)
    ->Args({64, 16384})
    ->Args({128, 16384})
    ->Args({256, 16384})
    ->Args({128, 32768})
    ->Args({1024, 16384})
    ->Unit(benchmark::kMillisecond);

// The whole year as the archive command writes it, headers and stored members included.
void BM_LzhYearArchive(benchmark::State& state) {
  if (YearFiles().empty()) {
    state.SkipWithError("no corpus");
    return;
  }
  size_t size = 0;
  for (auto _ : state) {
    archive::LzhWriter writer;
    for (size_t i = 0; i < YearFiles().size(); ++i) {
      writer.Add({"KVR" + std::to_string(i) + ".dat", 0, false}, YearFiles()[i]);
    }
    size = writer.Finish().size();
  }
  state.counters["archive"] = static_cast<double>(size);
}
BENCHMARK(BM_LzhYearArchive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
