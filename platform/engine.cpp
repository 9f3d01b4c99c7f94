#include "engine.h"

#include "error_report.h"
#include "tab_ring.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

// Set once by the start routine; a report made before it carries no name.
std::string running_program;

// Hidden elements have nothing native to change.
class DisplayObserver final : public ControlObserver {
public:
    void caption_changed(Label& label) override
    {
        if (label.visible)
            display::caption_changed(label);
    }
    void selection_changed(ListBox& list) override
    {
        if (list.visible)
            display::selection_changed(list);
    }
    void picture_changed(PictureBox& box) override
    {
        if (box.visible)
            display::picture_changed(box);
    }
};

DisplayObserver display_observer;

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
    reporting_errors([&] { list.set_ListIndex(entry); });
}

bool user_pressed_tab(Form const& form, Control const* focused, bool backward)
{
    return reporting_errors([&] {
        Control* next = TabRing(form).step(focused, backward);
        if (next)
            display::focus(*next);
        return next != nullptr;
    });
}

Control const* tab_edge(Form const& form, bool backward)
{
    return reporting_errors([&] { return TabRing(form).step(nullptr, !backward); });
}

} // namespace platform
