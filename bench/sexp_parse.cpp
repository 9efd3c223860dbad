// Parsing the server messages of a crowded field (22 players in view), as the
// perceptor parser does: each message wrapped in one list, parsed and freed.


#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "utils/sfsexp/sexp.h"

namespace {

void BM_ParseCrowdMessages(benchmark::State& state) {
  std::vector<std::vector<char>> messages;
  std::ifstream in(std::string(QV_CAPTURES_DIR) + "/crowd_A1.log");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::string text = "(msg " + line + ")";
    messages.emplace_back(text.begin(), text.end());
    messages.back().push_back('\0');
  }
  if (messages.empty()) {
    state.SkipWithError("crowd_A1.log not found");
    return;
  }
  size_t i = 0;
  int64_t bytes = 0;
  for (auto _ : state) {
    std::vector<char>& m = messages[i];
    elt* tree = parse_sexp(m.data(), m.size());
    benchmark::DoNotOptimize(tree);
    destroy_sexp(tree);
    bytes += static_cast<int64_t>(m.size() - 1);
    if (++i == messages.size()) i = 0;
  }
  state.SetBytesProcessed(bytes);
  state.SetItemsProcessed(state.iterations());
  state.counters["messages"] = static_cast<double>(messages.size());
}
BENCHMARK(BM_ParseCrowdMessages);

}  // namespace
