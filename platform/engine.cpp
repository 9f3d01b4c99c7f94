#include "engine.h"

#include "error_report.h"
#include "tab_ring.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Set once by the start routine; a report made before it carries no name.
std::string running_program;

// Tells the back end of every change to a visible element (hidden ones have
// nothing native to change). While user input runs, it holds the changes and
// tells of each element once when the input's handlers have returned: a
// handler may set a caption many times while it builds it, and the user
// should see one repaint, not each step.
class DisplayObserver final : public ControlObserver {
public:
    void caption_changed(Label& label) override { changed(label); }
    void selection_changed(ListBox& list) override { changed(list); }
    void picture_changed(PictureBox& box) override { changed(box); }

    // A toolkit may dispatch input from inside a call down, so input can
    // nest; only the outermost piece passes the held changes on.
    void hold() { ++m_holding; }
    void release()
    {
        if (--m_holding > 0)
            return;
        // Taken out first: input that comes in while they go out holds its
        // changes in a list of its own.
        std::vector<Control*> const held = std::exchange(m_held, {});
        for (Control* control : held)
            pass_on(*control);
    }

private:
    void changed(Control& control)
    {
        if (!control.visible)
            return;
        if (m_holding == 0)
            pass_on(control);
        else if (std::find(m_held.begin(), m_held.end(), &control) == m_held.end())
            m_held.push_back(&control);
    }

    static void pass_on(Control& control)
    {
        switch (control.kind()) {
        case Kind::Label:
            display::caption_changed(static_cast<Label&>(control));
            break;
        case Kind::ListBox:
            display::selection_changed(static_cast<ListBox&>(control));
            break;
        case Kind::PictureBox:
            display::picture_changed(static_cast<PictureBox&>(control));
            break;
        case Kind::TextBox:
            break; // a text box tells of no change
        }
    }

    int m_holding = 0;
    // In the order the elements first changed.
    std::vector<Control*> m_held;
};

DisplayObserver display_observer;

// Runs one piece of user input under the error report, holding the changes
// its handlers make until they have all returned.
template<typename Input> void user_input(Input&& input)
{
    reporting_errors([&] {
        display_observer.hold();
        std::forward<Input>(input)();
        display_observer.release();
    });
}

} // namespace

void set_program_name(std::string_view name)
{
    running_program = name;
}

void report_unhandled(rt::RuntimeError const& error)
{
    ErrorReport const report = error_report(running_program, error);
    std::fputs(report.line.c_str(), stderr);
    std::fflush(stderr);
    display::report(report);
    std::_Exit(runtime_error_exit_code);
}

void report_current_exception()
{
    try {
        throw;
    } catch (rt::RuntimeError const& error) {
        report_unhandled(error);
    } catch (std::exception const& error) {
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, error.what()));
    } catch (...) {
        report_unhandled(rt::RuntimeError(rt::ErrorCode::ControlOperationFailed, "an unknown exception"));
    }
}

void build_window(Form& form)
{
    display::open_window(form);
    for (auto const& control : form.controls()) {
        if (!control->visible)
            continue;
        switch (control->kind()) {
        case Kind::Label:
            display::add_label(static_cast<Label&>(*control));
            break;
        case Kind::ListBox:
            display::add_list_box(static_cast<ListBox&>(*control));
            break;
        case Kind::PictureBox:
            display::add_picture_box(static_cast<PictureBox&>(*control));
            break;
        case Kind::TextBox:
            display::add_text_box(static_cast<TextBox&>(*control));
            break;
        }
    }
    form.set_observer(&display_observer);
}

void user_selected(ListBox& list, std::int16_t entry)
{
    // Native lists differ on whether choosing the selected entry again counts
    // as a change; here it never does, so every back end raises the same events.
    if (entry == list.ListIndex())
        return;
    user_input([&] { list.set_ListIndex(entry); });
}

bool user_pressed_tab(Form const& form, Control const* focused, bool backward)
{
    Control* next = nullptr;
    user_input([&] {
        next = TabRing(form).step(focused, backward);
        if (next)
            display::focus(*next);
    });
    return next != nullptr;
}

void user_command(std::function<void()> const& command)
{
    user_input(command);
}

Control const* tab_edge(Form const& form, bool backward)
{
    return reporting_errors([&] { return TabRing(form).step(nullptr, !backward); });
}

} // namespace platform
