// The window Tavrel_Oskund: its frame, the five control arrays and the 21
// elements in creation order. Where boxes overlap, the element created first
// lies in front, so the order of the table below is part of the layout.
#include "description.h"
#include "publisher.h"

namespace window {

namespace {

constexpr Color caption_orange = 0xFFC080;
constexpr Color result_peach = 0xFFE0C0;

// Nine lines, each ended by CR LF, the last one included.
constexpr std::string_view task_text
    = "Едно от основните правила на комбинаториката е правилото за умножение:\r\n"
      "ако даден обект A може да бъде избран по m различни начина и за всеки отделен избор друг обект B може да "
      "се избира по n различни начина, то двойката обекти A и B може да се избира по m * n различни начина.\r\n"
      "Правилото за умножение може да се обобщи и за намиране броя на наредени тройки обекти.\r\n"
      "В разглежданата примерна задача трябва да се изчислят възможните видове маршрут от т.A през т.B и т.C до "
      "т.D, ако между двойките AB, BC и CD може да има от 1 до 7 маршрута.\r\n"
      "Да се реализира проект представящ междупредметни връзки Математика и Информатика.\r\n"
      "Тема на проекта: Математика - комбинаторика, правило за умножение.\r\n"
      "Чрез отделни списъчни полета да се избират възможните маршрути между всеки две съседни точки.\r\n"
      "Да се онагледява избрания брой маршрути.\r\n"
      "Да се извежда общия брой маршрути чрез правило за умножение в комбинаториката.\r\n";

// The index of an entry equals the road count it shows, so the order matters.
constexpr std::string_view road_counts[] = { "0", "1", "2", "3", "4", "5", "6", "7" };

constexpr Element text_box(std::int16_t index, Place place, std::int16_t tab_index, std::string_view text)
{
    return { "Text1", index, place, true, tab_index, TextBoxSettings { text, true, ScrollBars::Vertical, true } };
}

// A hidden holder of road picture `index`.
constexpr Element road_picture(std::int16_t index, Place place, std::int16_t tab_index)
{
    return { "Picture2", index, place, false, tab_index, PictureBoxSettings { index, true, false, "B" } };
}

constexpr Element segment_selector(std::int16_t index, Place place, std::int16_t tab_index)
{
    return { "List1", index, place, true, tab_index, ListBoxSettings { road_counts } };
}

// A frameless segment picture, sized to its picture; it starts with one road.
constexpr Element segment_picture(std::int16_t index, Place place, std::int16_t tab_index)
{
    return { "Picture1", index, place, true, tab_index, PictureBoxSettings { 1, false, true, "b" } };
}

constexpr Element label(std::int16_t index, Place place, std::int16_t tab_index, std::string_view caption, Color back)
{
    return { "Label1", index, place, true, tab_index, LabelSettings { caption, back, Alignment::Centre } };
}

constexpr ControlArray arrays[] = {
    { 1, "Text1" },
    { 2, "Picture2" },
    { 3, "List1" },
    { 4, "Picture1" },
    { 5, "Label1" },
};

constexpr Element elements[] = {
    text_box(0, { 120, 4320, 6735, 1695 }, 20, task_text),
    road_picture(7, { 6840, 2040, 1335, 1215 }, 13),
    road_picture(6, { 6720, 1920, 1335, 1215 }, 12),
    road_picture(5, { 6600, 1800, 1335, 1215 }, 11),
    road_picture(4, { 6480, 1680, 1335, 1215 }, 10),
    road_picture(3, { 6360, 1560, 1335, 1215 }, 9),
    road_picture(2, { 6240, 1440, 1335, 1215 }, 8),
    road_picture(1, { 6120, 1320, 1335, 1215 }, 7),
    road_picture(0, { 6000, 1080, 1335, 1215 }, 6),
    segment_selector(2, { 5160, 840, 855, 630 }, 5),
    segment_selector(1, { 3120, 840, 855, 630 }, 4),
    segment_selector(0, { 1080, 840, 855, 630 }, 3),
    segment_picture(2, { 4455, 1440, 2250, 2250 }, 2),
    segment_picture(1, { 2415, 1440, 2250, 2250 }, 1),
    segment_picture(0, { 360, 1440, 2250, 2250 }, 0),
    label(5, { 1920, 3720, 1815, 375 }, 19, "Брой маршрути:", caption_orange),
    label(4, { 5160, 480, 855, 375 }, 18, "CD", caption_orange),
    label(3, { 3120, 480, 855, 375 }, 17, "BC", caption_orange),
    label(2, { 1080, 480, 855, 375 }, 16, "AB", caption_orange),
    label(1, { 3720, 3720, 1335, 375 }, 15, "", result_peach),
    label(0, { 840, 0, 5775, 375 }, 14, "Математика - комбинаторика, правило за умножение", caption_orange),
};

constexpr Window tavrel_oskund_window {
    .name = "Tavrel_Oskund",
    .object_id = { 0x2A6A291E, 0x0C6C, 0x49E4, { 0xB6, 0x7B, 0xF0, 0x4D, 0x62, 0x49, 0x12, 0xDF } },
    .project_id = { 0x4FE80AA6, 0x4557, 0x4102, { 0x89, 0x3E, 0x8B, 0xCE, 0x6D, 0x22, 0x52, 0x96 } },
    .caption = TAVREL_PUBLISHER_WEB_ADDRESS "  Математика - правило за умножение",
    .client_area = { 45, 435, 7050, 6135 },
    .back_color = 0xC0C0FF,
    .border_style = BorderStyle::FixedSingle,
    .max_button = false,
    .min_button = false,
    .font = { "Times New Roman", 204, 0, 400, 12 * 10000 },
    .has_icon = true,
    .designer_start_position = 1,
    .designer_tag = "B",
    .designer_link_topic = "Form1",
    .arrays = arrays,
    .elements = elements,
};

} // namespace

Window const& tavrel_oskund()
{
    return tavrel_oskund_window;
}

} // namespace window
