// The tasks of each level, drawn from a seed. The generator and every draw are
// plain 32-bit arithmetic, so the desktop program, the page and the tests see
// the same tasks for the same seed.
#include "practice.h"

#include "platform/runtime.h"

#include <algorithm>
#include <span>
#include <utility>

namespace practice {

namespace {

// MurmurHash3's finaliser: every input bit reaches every output bit.
std::uint32_t mix(std::uint32_t z)
{
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    return z ^ (z >> 16);
}

// A Weyl sequence through the finaliser: small, fast and well spread.
class Generator {
public:
    explicit Generator(std::uint32_t seed)
        : m_state(seed)
    { }

    // A number from 0 to n - 1, by multiplying rather than by remainder.
    int below(int n)
    {
        m_state += 0x9E3779B9u;
        std::uint64_t const wide = std::uint64_t { mix(m_state) } * static_cast<std::uint32_t>(n);
        return static_cast<int>(wide >> 32);
    }

    std::int16_t count(int lowest, int highest)
    {
        return static_cast<std::int16_t>(lowest + below(highest - lowest + 1));
    }

private:
    std::uint32_t m_state;
};

bool has(std::span<Task const> tasks, Task const& task)
{
    return std::find(tasks.begin(), tasks.end(), task) != tasks.end();
}

// Draws counts from lowest..highest until the task fits and is new; a fitting
// task is never rare, so this ends after a few draws.
template<typename Fits>
Task draw_new(Generator& g, std::span<Task const> before, int lowest, int highest, int missing, Fits fits)
{
    for (;;) {
        Task task;
        task.missing = missing;
        for (auto& roads : task.roads)
            roads = g.count(lowest, highest);
        if (fits(task) && !has(before, task))
            return task;
    }
}

template<typename T, std::size_t N> void shuffle(Generator& g, std::array<T, N>& items)
{
    for (std::size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[static_cast<std::size_t>(g.below(static_cast<int>(i)))]);
}

using Tasks = std::array<Task, tasks_per_level>;

// Small counts, and never the one task whose answer is in plain sight.
Tasks level_one(Generator& g)
{
    Tasks tasks;
    for (std::size_t k = 0; k < tasks.size(); ++k)
        tasks[k] = draw_new(g, std::span(tasks.data(), k), 1, 4, -1, [](Task const& t) { return t.routes() > 1; });
    return tasks;
}

// Two tasks teach that one closed segment closes every route; the others
// need a count of 5 or more, so that the product is past counting on fingers.
Tasks level_two(Generator& g)
{
    Tasks tasks;
    int const first_zero = g.below(3);
    int second_zero = g.below(2);
    if (second_zero >= first_zero)
        ++second_zero;
    int const zeros[] = { first_zero, second_zero };
    for (std::size_t k = 0; k < 2; ++k) {
        for (auto& roads : tasks[k].roads)
            roads = g.count(1, 7);
        tasks[k].roads[static_cast<std::size_t>(zeros[k])] = 0;
    }
    auto const large = [](Task const& t) { return *std::max_element(t.roads.begin(), t.roads.end()) >= 5; };
    for (std::size_t k = 2; k < tasks.size(); ++k)
        tasks[k] = draw_new(g, std::span(tasks.data(), k), 1, 7, -1, large);
    shuffle(g, tasks);
    return tasks;
}

// Each segment is missing twice. No count is 0, so the total fixes the
// missing count: it is the total divided by the two given ones.
Tasks level_three(Generator& g)
{
    std::array<int, tasks_per_level> missing { 0, 0, 1, 1, 2, 2 };
    shuffle(g, missing);
    Tasks tasks;
    for (std::size_t k = 0; k < tasks.size(); ++k)
        tasks[k] = draw_new(g, std::span(tasks.data(), k), 1, 7, missing[k], [](Task const&) { return true; });
    return tasks;
}

} // namespace

int Task::routes() const
{
    return roads[0] * roads[1] * roads[2];
}

std::array<Task, tasks_per_level> make_tasks(int level, std::uint32_t seed)
{
    Generator g(seed);
    switch (level) {
    case 1:
        return level_one(g);
    case 2:
        return level_two(g);
    case 3:
        return level_three(g);
    }
    rt::raise(rt::ErrorCode::InvalidCall, "Practice: there is no level " + std::to_string(level));
}

std::uint32_t round_seed(std::uint32_t seed, int level, int round)
{
    return mix(mix(seed ^ mix(static_cast<std::uint32_t>(level))) + static_cast<std::uint32_t>(round));
}

} // namespace practice
