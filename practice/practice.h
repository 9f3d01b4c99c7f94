// The practice mode: three levels of six tasks on the route count, the reading
// of a typed answer, the pupil's attempt with its points and its saved form,
// and the posing of a task on the window. It decides; the page presents. No
// text for the pupil is made here, so the page words every message itself.
#pragma once

#include "route/tavrel_oskund.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace practice {

constexpr int levels = 3;
constexpr int tasks_per_level = 6;
constexpr int points_per_task = 2; // right at the first try: 2; at the second: 1; else 0
constexpr int largest_answer = 343; // 7*7*7

struct Task {
    std::array<std::int16_t, 3> roads {}; // road counts of AB, BC, CD
    int missing = -1; // level 3: the segment whose count the pupil picks (0..2); else -1: the pupil types the routes
    int routes() const; // roads[0]*roads[1]*roads[2]
    bool operator==(Task const&) const = default;
};

// The six tasks of one round of a level (1..3), all different, from a seed:
// the same seed gives the same tasks on every platform, since the generator
// is our own arithmetic and no standard distribution.
std::array<Task, tasks_per_level> make_tasks(int level, std::uint32_t seed);

// The seed of a round of a level within an attempt begun with `seed`; the
// attempt's first round of level 1 uses round_seed(seed, 1, 0) too.
std::uint32_t round_seed(std::uint32_t seed, int level, int round);

// What the pupil typed in the answer field.
enum class Entry { number, empty, not_a_number, too_large };
struct Reading {
    Entry entry = Entry::empty;
    int value = 0;
};
Reading read_answer(std::string_view utf8);

enum class Verdict { right, try_again, shown }; // shown: wrong twice, the right answer is shown
enum class Hint { none, multiply, zero, added, missing_factor };
struct Outcome {
    Verdict verdict = Verdict::right;
    int points = 0;
    Hint hint = Hint::none;
};

// The outcome of answering `value` to a task after `tries` wrong tries (0 or 1).
Outcome judge(Task const& task, int tries, int value);

class Attempt {
public:
    // The highest round number kept; later rounds replay its tasks.
    static constexpr int last_round = 9999;

    explicit Attempt(std::uint32_t seed); // level 1, task 0, no points

    int level() const; // 1..3
    int round() const; // how many times this level has been begun before (0 for the first)
    int task_number() const; // 0..5
    Task const& task() const;
    int tries() const; // wrong tries so far on this task (0 or 1 while it is open, 2 once shown)
    bool answered() const; // the current task is done (right, or shown after two wrong tries)
    bool level_over() const; // the last task of the level is answered

    // The routes (levels 1, 2) or the picked count (level 3). Answering a task
    // that is answered already raises a run-time error, as does every misuse below.
    Outcome answer(int value);
    void next_task(); // needs answered() && !level_over()
    void next_level(); // needs level_over() && level() < levels
    // A new round of the same level, with new tasks; needs level_over().
    void repeat_level();

    int level_points() const; // points of this round so far
    // 0..100: the best finished round of each level, or this round where it
    // has more, as a share of all the points there are. Replaying never lowers it.
    int score() const;

    // Short ASCII that resumes exactly this state: task, tries, points, bests.
    std::string save() const;
    // Nothing for anything malformed, out of range or inconsistent.
    static std::optional<Attempt> restore(std::string_view saved);

    bool operator==(Attempt const&) const = default;

private:
    void begin_round();

    std::uint32_t m_seed = 0;
    int m_level = 1;
    int m_round = 0;
    int m_task = 0;
    int m_tries = 0;
    bool m_answered = false;
    int m_points = 0;
    std::array<int, levels> m_best {};
    std::array<Task, tasks_per_level> m_tasks {};
};

// Shows a task in the three lists by setting List1(i).ListIndex: the task's
// counts, or on level 3 the two given counts and 0 in the missing list. Each
// setting raises List1_Click, which redraws the pictures and the count.
void pose(route::Tavrel_Oskund const& window, Task const& task);

// The count the pupil has picked in the missing list of a level 3 task.
int picked(route::Tavrel_Oskund const& window, Task const& task);

} // namespace practice
