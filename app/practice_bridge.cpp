#include "practice_bridge.h"

#include "platform/engine.h"
#include "practice/practice.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace app::practice_bridge {

namespace {

// The answer field's text, or an attempt's saved form.
constexpr std::size_t text_capacity = 256;

// The numbers the script reads, in this order.
enum Field {
    active, // 1 while an attempt is on
    level, // 1 to 3
    round, // earlier rounds of this level
    task_number, // 0 to 5
    tries, // wrong tries on this task
    answered, // the task is done
    level_over, // the level's last task is done
    road_ab, // the task's road counts
    road_bc,
    road_cd,
    missing, // level 3: the list the pupil picks in; else -1
    routes, // the task's count of routes
    level_points,
    score, // 0 to 100
    entry, // the last reading of an answer: practice::Entry, -1 before any
    verdict, // the last check: practice::Verdict, -1 where the reading was no answer
    points, // what the last check gave
    hint, // practice::Hint
    field_count
};

struct State {
    platform::Form* form = nullptr;
    std::optional<practice::Attempt> attempt;
    std::array<int, field_count> numbers {};
    std::array<char, text_capacity> field {};
    std::string saved;
    int last_entry = -1;
    practice::Outcome last {};
    bool checked = false;
};

State& state()
{
    static State instance;
    return instance;
}

route::Tavrel_Oskund window()
{
    if (!state().form)
        rt::raise(rt::ErrorCode::ControlOperationFailed, "Practice: the window is not there");
    return route::Tavrel_Oskund(*state().form);
}

practice::Attempt& attempt()
{
    if (!state().attempt)
        rt::raise(rt::ErrorCode::ControlOperationFailed, "Practice: no attempt is on");
    return *state().attempt;
}

void forget_last_check()
{
    state().last_entry = -1;
    state().checked = false;
}

void pose()
{
    forget_last_check();
    practice::pose(window(), attempt().task());
}

// An answered task that the pupil picked in shows the right count with its
// formula, however it ended: picked by the pupil, for the pupil after two
// wrong tries, or as it stood when the attempt was saved.
void show_answer()
{
    practice::Task const& task = attempt().task();
    if (attempt().answered() && task.missing >= 0)
        window()
            .List1(static_cast<std::int16_t>(task.missing))
            .set_ListIndex(task.roads[static_cast<std::size_t>(task.missing)]);
}

} // namespace

void attach(platform::Form& form)
{
    state().form = &form;
}

} // namespace app::practice_bridge

using namespace app::practice_bridge;

// Each command is one piece of user input: its changes to the window reach
// the page once, and its errors are reported like any other.
extern "C" {

EMSCRIPTEN_KEEPALIVE int tavrel_practice_start(unsigned seed)
{
    platform::user_command([&] {
        state().attempt.emplace(static_cast<std::uint32_t>(seed));
        pose();
    });
    return state().attempt ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int tavrel_practice_resume(char const* saved)
{
    std::optional<practice::Attempt> restored = practice::Attempt::restore(saved ? saved : "");
    if (!restored)
        return 0;
    platform::user_command([&] {
        state().attempt = std::move(restored);
        pose();
        show_answer();
    });
    return 1;
}

EMSCRIPTEN_KEEPALIVE char* tavrel_practice_text()
{
    return state().field.data();
}

EMSCRIPTEN_KEEPALIVE void tavrel_practice_check(int size)
{
    platform::user_command([size] {
        practice::Attempt& a = attempt();
        if (a.answered())
            return;
        int value = 0;
        if (a.task().missing < 0) {
            std::size_t const length
                = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(size, 0)), 0, text_capacity);
            std::string_view const text(state().field.data(), length);
            practice::Reading const reading = practice::read_answer(text);
            state().last_entry = static_cast<int>(reading.entry);
            state().checked = reading.entry == practice::Entry::number;
            if (!state().checked)
                return;
            value = reading.value;
        } else {
            state().last_entry = static_cast<int>(practice::Entry::number);
            state().checked = true;
            value = practice::picked(window(), a.task());
        }
        state().last = a.answer(value);
        show_answer();
    });
}

EMSCRIPTEN_KEEPALIVE void tavrel_practice_next_task()
{
    platform::user_command([] {
        attempt().next_task();
        pose();
    });
}

EMSCRIPTEN_KEEPALIVE void tavrel_practice_next_level()
{
    platform::user_command([] {
        attempt().next_level();
        pose();
    });
}

EMSCRIPTEN_KEEPALIVE void tavrel_practice_repeat_level()
{
    platform::user_command([] {
        attempt().repeat_level();
        pose();
    });
}

EMSCRIPTEN_KEEPALIVE void tavrel_practice_end()
{
    state().attempt.reset();
    forget_last_check();
}

EMSCRIPTEN_KEEPALIVE int const* tavrel_practice_state()
{
    State& s = state();
    auto& n = s.numbers;
    n.fill(0);
    n[active] = s.attempt ? 1 : 0;
    n[entry] = s.last_entry;
    n[verdict] = -1;
    if (!s.attempt)
        return n.data();
    practice::Attempt const& a = *s.attempt;
    practice::Task const& task = a.task();
    n[level] = a.level();
    n[round] = a.round();
    n[task_number] = a.task_number();
    n[tries] = a.tries();
    n[answered] = a.answered() ? 1 : 0;
    n[level_over] = a.level_over() ? 1 : 0;
    n[road_ab] = task.roads[0];
    n[road_bc] = task.roads[1];
    n[road_cd] = task.roads[2];
    n[missing] = task.missing;
    n[routes] = task.routes();
    n[level_points] = a.level_points();
    n[score] = a.score();
    if (s.checked) {
        n[verdict] = static_cast<int>(s.last.verdict);
        n[points] = s.last.points;
        n[hint] = static_cast<int>(s.last.hint);
    }
    return n.data();
}

EMSCRIPTEN_KEEPALIVE char const* tavrel_practice_saved()
{
    State& s = state();
    s.saved = s.attempt ? s.attempt->save() : std::string();
    return s.saved.c_str();
}

} // extern "C"
