// A task on the window: the lists show its counts, and the program's own
// click handler draws the roads and the route count as for any selection.
#include "practice.h"

#include "platform/runtime.h"

namespace practice {

namespace {

// A task the page made up itself could ask for a list entry or a list that
// is not there; say so in the practice's words rather than the list's.
void check(Task const& task)
{
    for (auto roads : task.roads)
        if (roads < 0 || roads > 7)
            rt::raise(rt::ErrorCode::InvalidCall, "Practice: a road count is 0 to 7, not " + std::to_string(roads));
    if (task.missing < -1 || task.missing > 2)
        rt::raise(rt::ErrorCode::InvalidCall, "Practice: no segment " + std::to_string(task.missing) + " to miss");
}

} // namespace

void pose(route::Tavrel_Oskund const& window, Task const& task)
{
    check(task);
    // The index of a list entry is the road count it shows. The missing list
    // starts at 0, which is never the answer, so leaving it is simply wrong.
    for (std::int16_t i = 0; i <= 2; ++i)
        window.List1(i).set_ListIndex(i == task.missing ? std::int16_t { 0 } : task.roads[static_cast<std::size_t>(i)]);
}

int picked(route::Tavrel_Oskund const& window, Task const& task)
{
    check(task);
    if (task.missing < 0)
        rt::raise(rt::ErrorCode::InvalidCall, "Practice: the pupil picks a count only on level 3");
    return window.List1(static_cast<std::int16_t>(task.missing)).ListIndex();
}

} // namespace practice
