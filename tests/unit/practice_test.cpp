#include "platform/form_reader.h"
#include "practice/practice.h"
#include "raised_by.h"
#include "window/description.h"
#include "window/pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <string>

using practice::Attempt;
using practice::Entry;
using practice::Hint;
using practice::Task;
using practice::Verdict;
using testing_support::raised_by;

namespace {

int right_answer(Task const& t)
{
    return t.missing < 0 ? t.routes() : t.roads[static_cast<std::size_t>(t.missing)];
}

// Every count 0..7 in the missing segment that gives the task's total.
int answers_to(Task t)
{
    int const total = t.routes();
    int found = 0;
    for (std::int16_t x = 0; x <= 7; ++x) {
        t.roads[static_cast<std::size_t>(t.missing)] = x;
        found += t.routes() == total;
    }
    return found;
}

// The first rule of its level that a round breaks, or "".
std::string broken_rule(int level, std::array<Task, practice::tasks_per_level> const& tasks)
{
    for (std::size_t i = 0; i < tasks.size(); ++i)
        if (std::find(tasks.begin() + static_cast<std::ptrdiff_t>(i) + 1, tasks.end(), tasks[i]) != tasks.end())
            return "a task comes twice";
    int zero_tasks = 0, zero_segments = 0;
    std::array<int, 3> missing {};
    for (auto const& t : tasks) {
        auto const [lowest, highest] = std::minmax_element(t.roads.begin(), t.roads.end());
        int const zeros = static_cast<int>(std::count(t.roads.begin(), t.roads.end(), 0));
        if (*lowest < 0 || *highest > (level == 1 ? 4 : 7))
            return "a count out of range";
        if ((level == 3) != (t.missing >= 0))
            return "the wrong kind of question";
        if (level == 1 && t.routes() == 1)
            return "1*1*1";
        if (level == 2 && zeros == 0 && *highest < 5)
            return "no count of 5 or more";
        if (level == 3 && (zeros > 0 || answers_to(t) != 1))
            return "not exactly one answer";
        if (zeros > 1)
            return "two zeros";
        zero_tasks += zeros;
        for (std::size_t s = 0; s < 3; ++s)
            zero_segments |= (t.roads[s] == 0) << s;
        if (t.missing >= 0)
            ++missing[static_cast<std::size_t>(t.missing)];
    }
    if (level == 2 && (zero_tasks != 2 || std::popcount(static_cast<unsigned>(zero_segments)) != 2))
        return "not two zeros in different segments";
    if (level == 3 && missing != std::array<int, 3> { 2, 2, 2 })
        return "a segment not missing twice";
    return "";
}

// Plays tasks by a script, one letter a task: R right at once, r right at the
// second try, x wrong twice; moves on after each task but the level's last.
void play(Attempt& a, std::string_view script, auto&& after_each_step)
{
    for (char c : script) {
        int const right = right_answer(a.task());
        if (c != 'R') {
            a.answer(right + 1);
            after_each_step();
        }
        a.answer(c == 'x' ? -1 : right);
        after_each_step();
        if (!a.level_over()) {
            a.next_task();
            after_each_step();
        }
    }
}

void play(Attempt& a, std::string_view script)
{
    play(a, script, [] {});
}

} // namespace

TEST(PracticeTasks, EveryRoundKeepsTheRulesOfItsLevel)
{
    for (int level = 1; level <= practice::levels; ++level)
        for (std::uint32_t seed = 0; seed < 3000; ++seed)
            ASSERT_EQ(broken_rule(level, practice::make_tasks(level, seed)), "") << "level " << level << ", " << seed;
}

// Fixed here on purpose: a change of the generator changes every saved
// attempt's tasks, and must be a decision.
TEST(PracticeTasks, ASeedGivesTheSameTasksEverywhere)
{
    using Tasks = std::array<Task, practice::tasks_per_level>;
    Tasks const expected[] = {
        { { { { 3, 1, 3 }, -1 }, { { 2, 2, 4 }, -1 }, { { 4, 2, 1 }, -1 }, { { 3, 2, 1 }, -1 }, { { 2, 4, 1 }, -1 },
            { { 1, 2, 4 }, -1 } } },
        { { { { 5, 0, 3 }, -1 }, { { 1, 3, 6 }, -1 }, { { 0, 7, 3 }, -1 }, { { 1, 6, 4 }, -1 }, { { 2, 5, 7 }, -1 },
            { { 7, 3, 5 }, -1 } } },
        { { { { 6, 7, 3 }, 2 }, { { 1, 6, 4 }, 2 }, { { 1, 3, 6 }, 0 }, { { 1, 1, 2 }, 1 }, { { 7, 3, 5 }, 0 },
            { { 2, 5, 7 }, 1 } } },
    };
    for (int level = 1; level <= practice::levels; ++level)
        EXPECT_EQ(practice::make_tasks(level, 1), expected[level - 1]) << "level " << level;
    EXPECT_NE(practice::round_seed(1, 1, 0), practice::round_seed(1, 1, 1));
    EXPECT_NE(practice::round_seed(1, 1, 0), practice::round_seed(1, 2, 0));
    for (int level : { 0, 4 })
        EXPECT_EQ(raised_by([&] { practice::make_tasks(level, 1); }), rt::ErrorCode::InvalidCall);
}

TEST(PracticeAnswer, ReadsWholeNumbersUpTo343AndNamesAnythingElse)
{
    struct Case {
        std::string_view typed;
        Entry entry;
        int value;
    };
    using namespace std::string_view_literals;
    // Threes of other scripts, a no-break space cut short, and 2 with a combining accent.
    std::string_view const arabic_indic = "\xD9\xA3", fullwidth = "\xEF\xBC\x93", devanagari = "\xE0\xA5\xA9",
                           cut_blank = "2\xC2", accented = "2\xCC\x81";
    Case const cases[] = {
        { "24", Entry::number, 24 },
        { "0", Entry::number, 0 },
        { "343", Entry::number, 343 },
        { "007", Entry::number, 7 },
        { "0000000000000000000000343", Entry::number, 343 },
        { " \t24\xC2\xA0 ", Entry::number, 24 },
        { "\u00A07\t", Entry::number, 7 },
        { "", Entry::empty, 0 },
        { " \t\xC2\xA0", Entry::empty, 0 },
        { "344", Entry::too_large, 0 },
        { "1000", Entry::too_large, 0 },
        { "99999999999999999999999999", Entry::too_large, 0 },
        { "abc", Entry::not_a_number, 0 },
        { "1e3", Entry::not_a_number, 0 },
        { "-2", Entry::not_a_number, 0 },
        { "+2", Entry::not_a_number, 0 },
        { "2,5", Entry::not_a_number, 0 },
        { "2.5", Entry::not_a_number, 0 },
        { "2 5", Entry::not_a_number, 0 },
        { "0x10", Entry::not_a_number, 0 },
        { arabic_indic, Entry::not_a_number, 0 },
        { fullwidth, Entry::not_a_number, 0 },
        { devanagari, Entry::not_a_number, 0 },
        { cut_blank, Entry::not_a_number, 0 },
        { accented, Entry::not_a_number, 0 },
        { "2\0"sv, Entry::not_a_number, 0 },
    };
    for (auto const& c : cases) {
        auto const reading = practice::read_answer(c.typed);
        EXPECT_EQ(reading.entry, c.entry) << '"' << c.typed << '"';
        EXPECT_EQ(reading.value, c.value) << '"' << c.typed << '"';
    }
}

TEST(PracticeJudge, VerdictPointsAndHintFollowTheTryAndTheMistake)
{
    struct Case {
        Task task;
        int tries, value;
        Verdict verdict;
        int points;
        Hint hint;
    };
    Task const plain { { 2, 3, 4 } }, closed { { 2, 0, 3 } }, ones { { 1, 1, 1 } }, pick { { 2, 3, 4 }, 1 };
    Case const cases[] = {
        { plain, 0, 24, Verdict::right, 2, Hint::none },
        { plain, 1, 24, Verdict::right, 1, Hint::none },
        { plain, 0, 9, Verdict::try_again, 0, Hint::added },
        { plain, 0, 23, Verdict::try_again, 0, Hint::multiply },
        { plain, 0, -24, Verdict::try_again, 0, Hint::multiply },
        { plain, 0, INT_MIN, Verdict::try_again, 0, Hint::multiply },
        { plain, 1, 9, Verdict::shown, 0, Hint::none },
        { closed, 0, 0, Verdict::right, 2, Hint::none },
        { closed, 0, 5, Verdict::try_again, 0, Hint::added },
        { closed, 0, 6, Verdict::try_again, 0, Hint::zero },
        { ones, 0, 3, Verdict::try_again, 0, Hint::added },
        { pick, 0, 3, Verdict::right, 2, Hint::none },
        { pick, 0, 0, Verdict::try_again, 0, Hint::missing_factor },
        { pick, 0, 24, Verdict::try_again, 0, Hint::missing_factor },
        { pick, 1, 4, Verdict::shown, 0, Hint::none },
    };
    for (auto const& c : cases) {
        auto const o = practice::judge(c.task, c.tries, c.value);
        EXPECT_EQ(o.verdict, c.verdict) << c.value;
        EXPECT_EQ(o.points, c.points) << c.value;
        EXPECT_EQ(o.hint, c.hint) << c.value;
    }
    EXPECT_EQ(raised_by([&] { practice::judge(plain, 2, 24); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { practice::judge({ { 2, 3, 4 }, 3 }, 0, 3); }), rt::ErrorCode::InvalidCall);
}

TEST(PracticeAttempt, ATaskTakesTwoTriesAndMisuseIsARuntimeError)
{
    Attempt a(7);
    EXPECT_EQ(a.task(), practice::make_tasks(1, practice::round_seed(7, 1, 0))[0]);
    int const right = right_answer(a.task());
    EXPECT_EQ(raised_by([&] { a.next_task(); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(a.answer(right + 1).verdict, Verdict::try_again);
    EXPECT_EQ(a.tries(), 1);
    EXPECT_FALSE(a.answered());
    EXPECT_EQ(a.answer(right).points, 1);
    EXPECT_TRUE(a.answered());
    EXPECT_EQ(raised_by([&] { a.answer(right); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { a.repeat_level(); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { a.next_level(); }), rt::ErrorCode::InvalidCall);
    a.next_task();
    EXPECT_EQ(a.answer(-1).verdict, Verdict::try_again);
    EXPECT_EQ(a.answer(-1).verdict, Verdict::shown);
    EXPECT_EQ(a.tries(), 2);
    EXPECT_EQ(a.level_points(), 1);

    a.next_task();
    play(a, "RRRR");
    EXPECT_TRUE(a.level_over());
    EXPECT_EQ(raised_by([&] { a.next_task(); }), rt::ErrorCode::InvalidCall);
    a.next_level();
    play(a, "RRRRRR");
    a.next_level();
    play(a, "RRRRRR");
    EXPECT_EQ(raised_by([&] { a.next_level(); }), rt::ErrorCode::InvalidCall);
}

TEST(PracticeAttempt, ScoreCountsTheBestRoundOfEachLevelAndNeverDrops)
{
    struct Step {
        std::string_view script; // played after repeating the level, or after the next level when it starts with '>'
        int level, round, level_points, score;
    };
    Step const steps[] = {
        { "r", 1, 0, 1, 3 }, // 1/36 of 100 rounds up to 3
        { "xxxxx", 1, 0, 1, 3 },
        { "RR", 1, 1, 4, 11 }, // this round beats the finished one before it is over
        { "xxxx", 1, 1, 4, 11 },
        { "RRRRRR", 1, 2, 12, 33 },
        { "xxxxxx", 1, 3, 0, 33 },
        { ">rrrrrr", 2, 0, 6, 50 },
        { ">RRRRRR", 3, 0, 12, 83 },
        { "RRRRRx", 3, 1, 10, 83 },
    };
    Attempt a(42);
    bool first = true;
    for (auto const& s : steps) {
        std::string_view script = s.script;
        if (script.starts_with('>')) {
            a.next_level();
            script.remove_prefix(1);
        } else if (!first && a.level_over())
            a.repeat_level();
        first = false;
        play(a, script);
        EXPECT_EQ(a.level(), s.level) << s.script;
        EXPECT_EQ(a.round(), s.round) << s.script;
        EXPECT_EQ(a.level_points(), s.level_points) << s.script;
        EXPECT_EQ(a.score(), s.score) << s.script;
    }
}

TEST(PracticeSaved, EveryStateOfAPlayedAttemptComesBackExactly)
{
    for (std::uint32_t seed : { 0u, 7u, 0xFFFFFFFFu }) {
        Attempt a(seed);
        auto const check = [&] {
            std::string const saved = a.save();
            ASSERT_LT(saved.size(), 200u);
            ASSERT_TRUE(std::all_of(saved.begin(), saved.end(), [](char c) { return c > ' ' && c < 127; }));
            auto const back = Attempt::restore(saved);
            ASSERT_TRUE(back.has_value()) << saved;
            EXPECT_EQ(*back, a) << saved;
        };
        check();
        play(a, "Rrxrxx", check);
        a.repeat_level();
        check();
        play(a, "RRRRRR", check);
        a.next_level();
        check();
        play(a, "xrRxrR", check);
        a.next_level();
        play(a, "rRxRxr", check);
    }
}

TEST(PracticeSaved, MalformedOrUnreachableStatesAreRefused)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(Attempt::restore("P1:7:1:0:0:0:0:0:0:0:0"), Attempt(7));
    EXPECT_TRUE(Attempt::restore("P1:4294967295:3:9999:5:2:1:10:12:12:12"));
    std::string_view const refused[] = {
        "",
        "P1",
        "P1:",
        "P2:7:1:0:0:0:0:0:0:0:0",
        "p1:7:1:0:0:0:0:0:0:0:0",
        "P1:7:1:0:0:0:0:0:0:0", // a field short
        "P1:7:1:0:0:0:0:0:0:0:0:0",
        "P1:7:1:0:0:0:0:0:0:0:0:",
        "P1:7:1:0:0:0:0::0:0:0",
        "P1:07:1:0:0:0:0:0:0:0:0",
        "P1:4294967296:1:0:0:0:0:0:0:0:0",
        "P1:99999999999999999999:1:0:0:0:0:0:0:0:0",
        "P1:-7:1:0:0:0:0:0:0:0:0",
        "P1:+7:1:0:0:0:0:0:0:0:0",
        "P1: 7:1:0:0:0:0:0:0:0:0",
        "P1:7\0:1:0:0:0:0:0:0:0:0"sv,
        "P1:\xD9\xA3:1:0:0:0:0:0:0:0:0",
        "P1:7:0:0:0:0:0:0:0:0:0", // level 0
        "P1:7:4:0:0:0:0:0:0:0:0",
        "P1:7:1:10000:0:0:0:0:0:0:0",
        "P1:7:1:0:6:0:0:0:0:0:0", // task 6
        "P1:7:1:0:0:3:0:0:0:0:0", // three tries
        "P1:7:1:0:0:0:2:0:0:0:0",
        "P1:7:1:0:0:2:0:0:0:0:0", // shown but open
        "P1:7:1:0:0:0:0:2:0:0:0", // points before any answer
        "P1:7:1:0:3:1:1:8:0:0:0", // more than three tasks and a second try can give
        "P1:7:1:0:0:0:1:0:0:0:0", // right at once for no points
        "P1:7:1:0:0:0:0:0:0:0:1", // points on a level not reached
        "P1:7:2:0:0:0:0:0:0:3:0", // a best before the first round ends
        "P1:7:1:0:5:0:1:12:11:0:0", // a finished first round that is not its own best
        "P1:7:1:1:5:0:1:12:11:0:0", // a finished round better than the best
        "P1:7:1:0:0:0:0:0:0:0:13",
    };
    for (auto const saved : refused)
        EXPECT_FALSE(Attempt::restore(saved)) << '"' << saved << '"';
    EXPECT_FALSE(Attempt::restore("P1:7:1:0:0:0:0:0:0:0:0" + std::string(300, ' ')));
}

TEST(PracticePose, TheListsShowTheTaskAndTheCountReadsItsFormula)
{
    auto const form = platform::read_form(window::pack(window::tavrel_oskund()));
    route::bind_handlers(*form);
    form->raise_load();
    route::Tavrel_Oskund const w(*form);
    auto const lists = [&] {
        return std::array { w.List1(0).ListIndex(), w.List1(1).ListIndex(), w.List1(2).ListIndex() };
    };

    Task const typed { { 2, 0, 7 } };
    practice::pose(w, typed);
    EXPECT_EQ(lists(), typed.roads);
    EXPECT_EQ(w.Label1(1).Caption(), "2*0*7 = 0");

    Task const pick { { 6, 7, 3 }, 0 };
    practice::pose(w, pick);
    EXPECT_EQ(lists(), (std::array<std::int16_t, 3> { 0, 7, 3 }));
    EXPECT_EQ(w.Label1(1).Caption(), "0*7*3 = 0");
    EXPECT_EQ(practice::picked(w, pick), 0);
    w.List1(0).set_ListIndex(6);
    EXPECT_EQ(practice::picked(w, pick), 6);
    EXPECT_EQ(w.Label1(1).Caption(), "6*7*3 = 126");

    EXPECT_EQ(raised_by([&] { practice::picked(w, typed); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { practice::pose(w, { { 2, 8, 1 } }); }), rt::ErrorCode::InvalidCall);
    EXPECT_EQ(raised_by([&] { practice::pose(w, { { 2, 3, 1 }, 3 }); }), rt::ErrorCode::InvalidCall);
}
