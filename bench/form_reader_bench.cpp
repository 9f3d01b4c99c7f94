// Reading the packed window at start-up: the whole stream with its eleven
// bitmaps, decoded into the control model.
#include "assets/road_pictures.h"
#include "platform/form_reader.h"
#include "window/pack.h"

#include <benchmark/benchmark.h>

static void BM_ReadForm(benchmark::State& state)
{
    window::PictureFiles files;
    for (int k = 0; k < window::road_picture_count; ++k)
        files.road_pictures[static_cast<std::size_t>(k)] = assets::road_picture_bmp(k);
    auto const stream = window::pack(window::tavrel_oskund(), files);
    for (auto _ : state) {
        auto form = platform::read_form(stream);
        benchmark::DoNotOptimize(form.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_ReadForm)->Unit(benchmark::kMicrosecond);
