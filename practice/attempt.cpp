// The pupil's way through the levels: two tries per task, points for the
// first and second try, and the best finished round of each level.
#include "practice.h"

#include "platform/runtime.h"

#include <algorithm>
#include <numeric>

namespace practice {

namespace {

// Misuse by the page: a reported run-time error rather than a broken state.
void require(bool condition, char const* what)
{
    if (!condition)
        rt::raise(rt::ErrorCode::InvalidCall, std::string("Practice: ") + what);
}

// Points at the rule the pupil missed without giving the answer away. Only a
// wrong value comes here, so a sum that equals the product (1, 2, 3) never
// passes for adding.
Hint hint_for(Task const& task, int value)
{
    if (task.missing >= 0)
        return Hint::missing_factor;
    if (value == task.roads[0] + task.roads[1] + task.roads[2])
        return Hint::added;
    if (std::find(task.roads.begin(), task.roads.end(), 0) != task.roads.end())
        return Hint::zero;
    return Hint::multiply;
}

} // namespace

Outcome judge(Task const& task, int tries, int value)
{
    require(tries == 0 || tries == 1, "a task is judged on its first or second try only");
    require(task.missing >= -1 && task.missing <= 2, "a task misses the count of segment 0, 1 or 2, or none");
    int const right = task.missing < 0 ? task.routes() : task.roads[static_cast<std::size_t>(task.missing)];
    if (value == right)
        return { Verdict::right, points_per_task - tries, Hint::none };
    if (tries == 0)
        return { Verdict::try_again, 0, hint_for(task, value) };
    return { Verdict::shown, 0, Hint::none };
}

Attempt::Attempt(std::uint32_t seed)
    : m_seed(seed)
{
    begin_round();
}

int Attempt::level() const
{
    return m_level;
}

int Attempt::round() const
{
    return m_round;
}

int Attempt::task_number() const
{
    return m_task;
}

Task const& Attempt::task() const
{
    return m_tasks[static_cast<std::size_t>(m_task)];
}

int Attempt::tries() const
{
    return m_tries;
}

bool Attempt::answered() const
{
    return m_answered;
}

bool Attempt::level_over() const
{
    return m_answered && m_task == tasks_per_level - 1;
}

Outcome Attempt::answer(int value)
{
    require(!m_answered, "the task is answered already");
    Outcome const outcome = judge(task(), m_tries, value);
    m_points += outcome.points;
    if (outcome.verdict == Verdict::try_again)
        m_tries = 1;
    else
        m_answered = true;
    if (outcome.verdict == Verdict::shown)
        m_tries = 2;
    if (level_over())
        m_best[static_cast<std::size_t>(m_level - 1)]
            = std::max(m_best[static_cast<std::size_t>(m_level - 1)], m_points);
    return outcome;
}

void Attempt::next_task()
{
    require(m_answered && !level_over(), "the next task comes after an answer, within the level");
    ++m_task;
    m_tries = 0;
    m_answered = false;
}

void Attempt::next_level()
{
    require(level_over() && m_level < levels, "the next level comes after the last task of a level before the last");
    ++m_level;
    m_round = 0;
    begin_round();
}

void Attempt::repeat_level()
{
    require(level_over(), "a level is repeated after its last task");
    // No pupil plays this many rounds; stopping there keeps the saved form short.
    if (m_round < last_round)
        ++m_round;
    begin_round();
}

int Attempt::level_points() const
{
    return m_points;
}

int Attempt::score() const
{
    std::array<int, levels> counted = m_best;
    auto& current = counted[static_cast<std::size_t>(m_level - 1)];
    current = std::max(current, m_points);
    int const points = std::accumulate(counted.begin(), counted.end(), 0);
    int constexpr all = levels * tasks_per_level * points_per_task;
    // Rounded half up, in whole numbers, alike on every platform.
    return (200 * points + all) / (2 * all);
}

void Attempt::begin_round()
{
    m_tasks = make_tasks(m_level, round_seed(m_seed, m_level, m_round));
    m_task = 0;
    m_tries = 0;
    m_answered = false;
    m_points = 0;
}

} // namespace practice
