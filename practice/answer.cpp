// Reading what the pupil typed. Only ASCII digits count: a digit of another
// script or a sign is not an answer a teacher would accept on paper either.
#include "practice.h"

#include <algorithm>

namespace practice {

namespace {

// The length of the blank at the start of text: a space, a tab, or a
// no-break space (U+00A0, which phones and word processors put in); else 0.
std::size_t blank_at(std::string_view text)
{
    if (text.starts_with(' ') || text.starts_with('\t'))
        return 1;
    if (text.starts_with("\xC2\xA0"))
        return 2;
    return 0;
}

std::size_t blank_before(std::string_view text)
{
    if (text.ends_with(' ') || text.ends_with('\t'))
        return 1;
    if (text.ends_with("\xC2\xA0"))
        return 2;
    return 0;
}

} // namespace

Reading read_answer(std::string_view utf8)
{
    while (std::size_t const n = blank_at(utf8))
        utf8.remove_prefix(n);
    while (std::size_t const n = blank_before(utf8))
        utf8.remove_suffix(n);
    if (utf8.empty())
        return { Entry::empty, 0 };
    for (char c : utf8)
        if (c < '0' || c > '9')
            return { Entry::not_a_number, 0 };

    // Leading zeros go first, so that a long run of them is still a small
    // number and the digits left are few enough never to overflow.
    utf8.remove_prefix(std::min(utf8.find_first_not_of('0'), utf8.size()));
    if (utf8.size() > 3)
        return { Entry::too_large, 0 };
    int value = 0;
    for (char c : utf8)
        value = 10 * value + (c - '0');
    if (value > largest_answer)
        return { Entry::too_large, 0 };
    return { Entry::number, value };
}

} // namespace practice
