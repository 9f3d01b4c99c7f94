// The saved form of an attempt: a version tag and ten decimal fields,
// "P1:seed:level:round:task:tries:answered:points:best1:best2:best3". The tasks
// are not saved; the seed and the round make them again. A learning platform
// keeps this text for the pupil, so restoring trusts none of it.
#include "practice.h"

#include <vector>

namespace practice {

namespace {

constexpr std::string_view tag = "P1";
constexpr std::size_t field_count = 10;
constexpr std::size_t longest_saved = 200;

// The fields after the tag; nothing when the tag or the number of fields is wrong.
std::optional<std::vector<std::string_view>> fields_of(std::string_view saved)
{
    if (saved.size() > longest_saved || !saved.starts_with(tag) || saved.substr(tag.size(), 1) != ":")
        return std::nullopt;
    saved.remove_prefix(tag.size() + 1);
    std::vector<std::string_view> fields;
    for (;;) {
        std::size_t const colon = saved.find(':');
        fields.push_back(saved.substr(0, colon));
        if (colon == std::string_view::npos)
            break;
        saved.remove_prefix(colon + 1);
    }
    if (fields.size() != field_count)
        return std::nullopt;
    return fields;
}

// A number as save() writes it: digits only, no leading zero, at most `highest`.
std::optional<std::uint32_t> number(std::string_view field, std::uint32_t highest)
{
    if (field.empty() || field.size() > 10 || (field.size() > 1 && field[0] == '0'))
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = 10 * value + static_cast<std::uint64_t>(c - '0');
    }
    if (value > highest)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::string Attempt::save() const
{
    std::string saved(tag);
    auto const add = [&saved](auto value) { saved += ':' + std::to_string(value); };
    add(m_seed);
    add(m_level);
    add(m_round);
    add(m_task);
    add(m_tries);
    add(m_answered ? 1 : 0);
    add(m_points);
    for (int best : m_best)
        add(best);
    return saved;
}

std::optional<Attempt> Attempt::restore(std::string_view saved)
{
    auto const fields = fields_of(saved);
    if (!fields)
        return std::nullopt;
    int constexpr most = tasks_per_level * points_per_task;
    std::uint32_t const highest[field_count]
        = { 0xFFFFFFFFu, levels, last_round, tasks_per_level - 1, 2, 1, most, most, most, most };
    std::array<std::uint32_t, field_count> v {};
    for (std::size_t i = 0; i < field_count; ++i) {
        auto const n = number((*fields)[i], highest[i]);
        if (!n)
            return std::nullopt;
        v[i] = *n;
    }

    Attempt a(v[0]);
    a.m_level = static_cast<int>(v[1]);
    a.m_round = static_cast<int>(v[2]);
    if (a.m_level < 1)
        return std::nullopt;
    a.begin_round();
    a.m_task = static_cast<int>(v[3]);
    a.m_tries = static_cast<int>(v[4]);
    a.m_answered = v[5] == 1;
    a.m_points = static_cast<int>(v[6]);
    for (std::size_t l = 0; l < levels; ++l)
        a.m_best[l] = static_cast<int>(v[7 + l]);

    // Only states that playing can reach: a shown task is answered; the
    // points fit the tasks done and the way the current one went; no level
    // after this one has points; a first round has no best but its own.
    if (a.m_tries == 2 && !a.m_answered)
        return std::nullopt;
    int const current = a.m_answered ? points_per_task - a.m_tries : 0;
    if (a.m_points < current || a.m_points > points_per_task * a.m_task + current)
        return std::nullopt;
    for (int l = a.m_level; l < levels; ++l)
        if (a.m_best[static_cast<std::size_t>(l)] != 0)
            return std::nullopt;
    int const finished = a.level_over() ? a.m_points : 0;
    int const best = a.m_best[static_cast<std::size_t>(a.m_level - 1)];
    if (a.m_round == 0 ? best != finished : best < finished)
        return std::nullopt;
    return a;
}

} // namespace practice
