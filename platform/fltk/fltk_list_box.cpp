// FLTK back end: the list box. Implements single selection by mouse (click
// and drag), keyboard (arrows, Home, End, Page Up, Page Down, first letter)
// and wheel scrolling, a sunken frame and a vertical scroll bar with arrow
// buttons that repeat while held. Leaves out multiple selection, sorting,
// columns, horizontal scrolling and dragging the scroll box: the window's lists
// have none of them, and their bars are too short to show a scroll box.
#include "fltk_backend.h"

#include "platform/display.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cctype>

// FIXME: the entries keep the order they were added in; a list that asks to be
// sorted is not sorted.
namespace fltk {

namespace {

constexpr int text_indent = 2;

} // namespace

ListBoxWidget::ListBoxWidget(platform::ListBox& model, PixelPlace rect, FontChoice font)
    : Fl_Widget(rect.x, rect.y, rect.w, rect.h)
    , m_model(model)
    , m_font(font)
{
    box(FL_DOWN_BOX);
    color(FL_WHITE);
}

ListBoxWidget::~ListBoxWidget()
{
    Fl::remove_timeout(repeat_arrow, this);
}

PixelPlace ListBoxWidget::items_rect() const
{
    return { x() + Fl::box_dx(box()), y() + Fl::box_dy(box()), w() - Fl::box_dw(box()) - scroll_bar_px,
        h() - Fl::box_dh(box()) };
}

PixelPlace ListBoxWidget::bar_rect() const
{
    PixelPlace const items = items_rect();
    return { items.x + items.w, items.y, scroll_bar_px, items.h };
}

int ListBoxWidget::item_height() const
{
    fl_font(m_font.face, m_font.size);
    return std::max(1, fl_height());
}

int ListBoxWidget::visible_count() const
{
    return std::max(1, (h() - Fl::box_dh(box())) / item_height());
}

// The entry under window coordinate y, clamped to the entries' range; -1
// when the list is empty.
int ListBoxWidget::entry_at(int y) const
{
    int const count = m_model.ListCount();
    if (count == 0)
        return -1;
    int const inner_top = this->y() + Fl::box_dy(box());
    int row = y < inner_top ? -1 : (y - inner_top) / item_height();
    return std::clamp(m_top + row, 0, count - 1);
}

void ListBoxWidget::choose(int entry)
{
    if (entry < 0 || entry >= m_model.ListCount())
        return;
    platform::user_selected(m_model, static_cast<std::int16_t>(entry));
}

void ListBoxWidget::sync()
{
    int const selected = m_model.ListIndex();
    if (selected >= 0) {
        if (selected < m_top)
            scroll_to(selected);
        else if (selected >= m_top + visible_count())
            scroll_to(selected - visible_count() + 1);
    }
    redraw();
}

void ListBoxWidget::scroll_to(int top)
{
    int const last_top = std::max(0, m_model.ListCount() - visible_count());
    top = std::clamp(top, 0, last_top);
    if (top != m_top) {
        m_top = top;
        redraw();
    }
}

void ListBoxWidget::press_arrow(Arrow arrow)
{
    m_pressed = arrow;
    scroll_to(m_top + (arrow == Arrow::Up ? -1 : 1));
    redraw();
}

void ListBoxWidget::repeat_arrow(void* self)
{
    auto* list = static_cast<ListBoxWidget*>(self);
    if (list->m_pressed == Arrow::Released)
        return;
    list->press_arrow(list->m_pressed);
    Fl::repeat_timeout(0.05, repeat_arrow, self);
}

// Moves the selection the way a desktop list box does; true when the key is
// one of the list's own.
bool ListBoxWidget::move_by_key(int key)
{
    int const count = m_model.ListCount();
    int const current = m_model.ListIndex();
    int const page = std::max(1, visible_count() - 1);
    int target = current;
    switch (key) {
    case FL_Up:
    case FL_Left:
        target = current - 1;
        break;
    case FL_Down:
    case FL_Right:
        target = current + 1;
        break;
    case FL_Home:
        target = 0;
        break;
    case FL_End:
        target = count - 1;
        break;
    case FL_Page_Up:
        // First to the top visible entry, then a page further.
        target = current > m_top ? m_top : current - page;
        break;
    case FL_Page_Down: {
        int const bottom = m_top + visible_count() - 1;
        target = current < bottom ? bottom : current + page;
        break;
    }
    default: {
        // A character key selects the next entry that begins with it.
        char const* text = Fl::event_text();
        if (Fl::event_length() != 1 || !std::isprint(static_cast<unsigned char>(text[0])))
            return false;
        int const wanted = std::tolower(static_cast<unsigned char>(text[0]));
        for (int step = 1; step <= count; ++step) {
            int const i = (std::max(current, -1) + step + count) % count;
            std::string const& entry = m_model.List(static_cast<std::int16_t>(i));
            if (!entry.empty() && std::tolower(static_cast<unsigned char>(entry[0])) == wanted) {
                choose(i);
                break;
            }
        }
        return true;
    }
    }
    if (count == 0)
        return true;
    if (current < 0)
        target = 0;
    choose(std::clamp(target, 0, count - 1));
    return true;
}

int ListBoxWidget::handle(int event)
{
    switch (event) {
    case FL_PUSH: {
        PixelPlace const bar = bar_rect();
        if (Fl::event_inside(bar.x, bar.y, bar.w, bar.h)) {
            // The bar scrolls the list but leaves selection and focus alone.
            int const arrow = std::min(scroll_bar_px, bar.h / 2);
            if (Fl::event_y() < bar.y + arrow || Fl::event_y() >= bar.y + bar.h - arrow) {
                press_arrow(Fl::event_y() < bar.y + arrow ? Arrow::Up : Arrow::Down);
                Fl::add_timeout(0.4, repeat_arrow, this);
            } else {
                int const page = std::max(1, visible_count() - 1);
                m_pressed = Arrow::Track;
                scroll_to(m_top + (Fl::event_y() < bar.y + bar.h / 2 ? -page : page));
            }
            return 1;
        }
        if (Fl::visible_focus())
            take_focus();
        choose(entry_at(Fl::event_y()));
        return 1;
    }
    case FL_DRAG: {
        if (m_pressed != Arrow::Released)
            return 1;
        // Dragging past either end scrolls the list along.
        int const inner_top = y() + Fl::box_dy(box());
        if (Fl::event_y() < inner_top)
            scroll_to(m_top - 1);
        else if (Fl::event_y() >= inner_top + visible_count() * item_height())
            scroll_to(m_top + 1);
        int const entry = std::clamp(entry_at(Fl::event_y()), m_top, m_top + visible_count() - 1);
        choose(std::min(entry, m_model.ListCount() - 1));
        return 1;
    }
    case FL_RELEASE:
        if (m_pressed != Arrow::Released) {
            m_pressed = Arrow::Released;
            Fl::remove_timeout(repeat_arrow, this);
            redraw();
        }
        return 1;
    case FL_MOUSEWHEEL:
        if (Fl::event_dy() == 0)
            return 0;
        // Three rows a notch, but never more than a page, as desktop lists do.
        scroll_to(m_top + Fl::event_dy() * std::min(3, visible_count()));
        return 1;
    case FL_FOCUS:
    case FL_UNFOCUS:
        redraw();
        return 1;
    case FL_KEYBOARD:
        if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META))
            return 0;
        return move_by_key(Fl::event_key()) ? 1 : 0;
    default:
        return Fl_Widget::handle(event);
    }
}

void ListBoxWidget::draw()
{
    draw_box(box(), x(), y(), w(), h(), color());
    PixelPlace const items = items_rect();
    int const line = item_height();

    fl_push_clip(items.x, items.y, items.w, items.h);
    fl_font(m_font.face, m_font.size);
    for (int i = m_top, row_y = items.y; i < m_model.ListCount() && row_y < items.y + items.h; ++i, row_y += line) {
        bool const selected = i == m_model.ListIndex();
        if (selected) {
            fl_color(highlight);
            fl_rectf(items.x, row_y, items.w, line);
        }
        fl_color(selected ? FL_WHITE : FL_BLACK);
        std::string const& text = m_model.List(static_cast<std::int16_t>(i));
        fl_draw(text.c_str(), static_cast<int>(text.size()), items.x + text_indent, row_y + line - fl_descent());
        if (selected && Fl::focus() == this) {
            // The dotted focus rectangle sits on the selected entry.
            fl_color(FL_YELLOW);
            fl_line_style(FL_DOT);
            fl_rect(items.x, row_y, items.w, line);
            fl_line_style(0);
        }
    }
    fl_pop_clip();
    draw_bar();
}

// Two arrow buttons with the track between them, and a scroll box only where
// the track has room for one.
void ListBoxWidget::draw_bar()
{
    PixelPlace const bar = bar_rect();
    int const arrow = std::min(scroll_bar_px, bar.h / 2);
    int const track_top = bar.y + arrow;
    int const track_h = bar.h - 2 * arrow;
    if (track_h > 0) {
        fl_color(track_color);
        fl_rectf(bar.x, track_top, bar.w, track_h);
        int const count = m_model.ListCount();
        int const shown = visible_count();
        int const thumb_h = count > shown ? std::max(8, track_h * shown / count) : 0;
        if (thumb_h > 0 && thumb_h < track_h) {
            int const thumb_y = track_top + (track_h - thumb_h) * m_top / std::max(1, count - shown);
            draw_box(FL_UP_BOX, bar.x, thumb_y, bar.w, thumb_h, FL_BACKGROUND_COLOR);
        }
    }
    for (Arrow which : { Arrow::Up, Arrow::Down }) {
        int const top = which == Arrow::Up ? bar.y : bar.y + bar.h - arrow;
        bool const pressed = m_pressed == which;
        draw_box(pressed ? FL_THIN_DOWN_BOX : FL_UP_BOX, bar.x, top, bar.w, arrow, FL_BACKGROUND_COLOR);
        int const cx = bar.x + bar.w / 2 + (pressed ? 1 : 0);
        int const cy = top + arrow / 2 + (pressed ? 1 : 0);
        fl_color(FL_BLACK);
        if (which == Arrow::Up)
            fl_polygon(cx - 4, cy + 2, cx + 4, cy + 2, cx, cy - 2);
        else
            fl_polygon(cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 2);
    }
}

} // namespace fltk
