// FLTK back end: the elements of the window, and the picture box and the
// read-only text box. Labels have no widget: the window paints them. The
// picture box draws its shared picture 1:1 and takes the focus without a
// mark; it leaves out frames, scaling and transparency, which the window does
// not use. The text box shows, selects and copies its text and refuses every
// change; it leaves out horizontal scrolling, since its lines wrap. The list
// box is in fltk_list_box.cpp.
#include "fltk_backend.h"

#include "platform/display.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

namespace fltk {

namespace {

// CR LF and lone CR become the line breaks FLTK's text widgets know.
std::string unix_lines(std::string const& text)
{
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            lines += text[i];
        }
    }
    return lines;
}

// FLTK 1.3 finds word boundaries with isalnum() alone, so every Cyrillic
// letter would end a word.
bool is_word_char(unsigned int c)
{
    return c == '_' || (c < 0x80 ? std::isalnum(static_cast<int>(c)) != 0 : c >= 0xC0);
}

// FLTK draws later children in front, and the earlier-created element must
// lie in front: each new widget goes behind those made before it.
template<typename Widget> Widget* add_widget(Backend& b, platform::Control const& control, Widget* widget)
{
    b.window->insert(*widget, 0);
    b.widgets[&control] = widget;
    return widget;
}

} // namespace

Fl_Offscreen server_picture(Backend& b, platform::PictureRef const& picture)
{
    auto& pictures = b.server_pictures;
    for (auto it = pictures.begin(); it != pictures.end();) {
        if (it->picture.lock() == picture)
            return it->pixmap;
        if (it->picture.expired()) {
            fl_delete_offscreen(it->pixmap);
            it = pictures.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<unsigned char> rgb(static_cast<std::size_t>(picture->width) * picture->height * 3);
    std::size_t out = 0;
    for (std::uint32_t argb : picture->pixels) {
        rgb[out++] = static_cast<unsigned char>(argb >> 16);
        rgb[out++] = static_cast<unsigned char>(argb >> 8);
        rgb[out++] = static_cast<unsigned char>(argb);
    }
    Fl_Offscreen const pixmap = fl_create_offscreen(picture->width, picture->height);
    fl_begin_offscreen(pixmap);
    fl_draw_image(rgb.data(), 0, 0, picture->width, picture->height, 3);
    fl_end_offscreen();
    pictures.push_back({ picture, pixmap });
    return pixmap;
}

PictureBoxWidget::PictureBoxWidget(platform::PictureBox& model, PixelPlace rect)
    : Fl_Widget(rect.x, rect.y, rect.w, rect.h)
    , m_model(model)
{
    box(FL_NO_BOX);
    color(FL_BACKGROUND_COLOR);
}

int PictureBoxWidget::handle(int event)
{
    switch (event) {
    case FL_PUSH:
        if (Fl::visible_focus())
            take_focus();
        return 1;
    case FL_FOCUS:
    case FL_UNFOCUS:
        return 1;
    default:
        return 0;
    }
}

void PictureBoxWidget::draw()
{
    platform::PictureRef const& picture = m_model.Picture();
    fl_push_clip(x(), y(), w(), h());
    bool const covers = picture && picture->width >= w() && picture->height >= h();
    if (!covers) {
        fl_color(color());
        fl_rectf(x(), y(), w(), h());
    }
    if (picture && picture->has_pixels())
        fl_copy_offscreen(x(), y(), picture->width, picture->height, server_picture(backend(), picture), 0, 0);
    fl_pop_clip();
}

TextBoxWidget::TextBoxWidget(platform::TextBox& model, PixelPlace rect, FontChoice font)
    : Fl_Text_Editor(rect.x, rect.y, rect.w, rect.h)
    , m_model(model)
{
    end();
    box(FL_DOWN_BOX);
    color(FL_WHITE);
    selection_color(highlight);
    textfont(font.face);
    textsize(font.size);
    scrollbar_width(scroll_bar_px);
    mVScrollBar->color(track_color);
    scrollbar_align(FL_ALIGN_RIGHT);
    if (model.multi_line)
        wrap_mode(WRAP_AT_BOUNDS, 0);
    buffer(&m_buffer);
    sync();
    m_buffer.add_modify_callback(modified, this);
}

TextBoxWidget::~TextBoxWidget()
{
    m_buffer.remove_modify_callback(modified, this);
    buffer(static_cast<Fl_Text_Buffer*>(nullptr));
}

void TextBoxWidget::sync()
{
    m_changed = false;
    m_buffer.text(unix_lines(m_model.text).c_str());
    m_changed = false;
}

// A double click selects the whole word, whatever its alphabet, and the
// blanks after it, as desktop edit boxes do.
void TextBoxWidget::select_word(int position)
{
    int const length = m_buffer.length();
    if (position < 0 || position >= length || !is_word_char(m_buffer.char_at(position)))
        return;
    int start = position;
    while (start > 0 && is_word_char(m_buffer.char_at(m_buffer.prev_char(start))))
        start = m_buffer.prev_char(start);
    int end = position;
    while (end < length && is_word_char(m_buffer.char_at(end)))
        end = m_buffer.next_char(end);
    while (end < length && m_buffer.char_at(end) == ' ')
        end = m_buffer.next_char(end);
    m_buffer.select(start, end);
    insert_position(end);
}

void TextBoxWidget::modified(int, int inserted, int deleted, int, char const*, void* self)
{
    if (inserted != 0 || deleted != 0)
        static_cast<TextBoxWidget*>(self)->m_changed = true;
}

int TextBoxWidget::handle(int event)
{
    if (!m_model.locked)
        return Fl_Text_Editor::handle(event);
    switch (event) {
    case FL_KEYBOARD: {
        int const key = Fl::event_key();
        int const state = Fl::event_state();
        if (key == FL_Tab)
            return 0; // the window moves the focus
        bool const moves = key == FL_Left || key == FL_Right || key == FL_Up || key == FL_Down || key == FL_Home
            || key == FL_End || key == FL_Page_Up || key == FL_Page_Down;
        bool const ctrl = (state & FL_CTRL) != 0;
        bool const copies = ctrl && (key == 'c' || key == 'a' || key == FL_Insert);
        if (!moves && !copies)
            return key == FL_Escape ? 0 : 1; // swallowed: nothing may change the text
        break;
    }
    case FL_PASTE:
        return 1;
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
    case FL_DND_LEAVE:
        return 0;
    default:
        break;
    }
    int const handled = Fl_Text_Editor::handle(event);
    if (event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() == 1)
        select_word(xy_to_position(Fl::event_x(), Fl::event_y(), CURSOR_POS));
    if (m_changed) {
        // A safety net for any editing path not closed above.
        int const top = mTopLineNum;
        sync();
        scroll(top, 0);
    }
    return handled;
}

} // namespace fltk

namespace display {

using namespace fltk;

void add_label(platform::Label& label)
{
    backend().labels.push_back(&label);
}

void add_list_box(platform::ListBox& list)
{
    Backend& b = backend();
    b.lists[&list] = add_widget(b, list, new ListBoxWidget(list, platform::to_pixels(list.place), b.font));
}

void add_picture_box(platform::PictureBox& box)
{
    Backend& b = backend();
    add_widget(b, box, new PictureBoxWidget(box, platform::to_pixels(box.place)));
}

void add_text_box(platform::TextBox& text)
{
    Backend& b = backend();
    add_widget(b, text, new TextBoxWidget(text, platform::to_pixels(text.place), b.font));
}

void caption_changed(platform::Label& label)
{
    if (Backend const& b = backend(); b.window) {
        PixelPlace const r = platform::to_pixels(label.place);
        b.window->damage(FL_DAMAGE_ALL, r.x, r.y, r.w, r.h);
    }
}

void selection_changed(platform::ListBox& list)
{
    if (auto const found = backend().lists.find(&list); found != backend().lists.end())
        found->second->sync();
}

void picture_changed(platform::PictureBox& box)
{
    if (Fl_Widget* widget = backend().widget(&box))
        widget->redraw();
}

void focus(platform::Control& control)
{
    if (Fl_Widget* widget = backend().widget(&control))
        widget->take_focus();
}

} // namespace display
