// One List1_Click on the headless model, the route-count rebuild included.
#include "tests/unit/test_form.h"

#include <benchmark/benchmark.h>

static void BM_List1Click(benchmark::State& state)
{
    auto form = testing_support::make_route_form();
    route::Tavrel_Oskund window(*form);
    form->raise_load();
    std::int16_t roads = 0;
    for (auto _ : state) {
        window.List1(1).set_ListIndex(roads);
        roads = static_cast<std::int16_t>((roads + 1) & 7);
    }
    benchmark::DoNotOptimize(window.Label1(1).Caption().data());
}
BENCHMARK(BM_List1Click);
