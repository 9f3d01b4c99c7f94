// FLTK 1.3 reads its global options from two preference files the first time
// any option is read or set, and then writes both files back, the user's and
// the system's: file system writes in every start-up, and files the program
// has no business leaving behind on a shared school account. The window's
// behaviour does not depend on such settings, so its options are set here
// and marked as read, and FLTK never opens those files.
#include "fltk_backend.h"

#include <FL/Fl.H>

// The options and their "read" flag are private members of FLTK 1.3's Fl,
// the same through every 1.3 release. FLTK 1.4 has a public way:
// Fl_Preferences::file_access(Fl_Preferences::NONE) before the first option,
// then Fl::option() for each; use that there and let this file go.
#if FL_MAJOR_VERSION != 1 || FL_MINOR_VERSION != 3
#error "fltk_options.cpp reaches into FLTK 1.3's private option state; see the comment above for this FLTK"
#endif

namespace fltk {

namespace {

void set_options(unsigned char* options, unsigned char* read)
{
    options[Fl::OPTION_ARROW_FOCUS] = 0;
    options[Fl::OPTION_VISIBLE_FOCUS] = 1;
    // Dragging text out of or into the read-only task text would edit it.
    options[Fl::OPTION_DND_TEXT] = 0;
    options[Fl::OPTION_SHOW_TOOLTIPS] = 1;
    options[Fl::OPTION_FNFC_USES_GTK] = 0;
    *read = 1;
}

void fix_options();

// The names of an explicit instantiation are exempt from access checks, so
// this template, instantiated once below, hands the private members'
// addresses to a friend function.
template<unsigned char (*Options)[Fl::OPTION_LAST], unsigned char* Read> struct OptionsAccess {
    friend void fix_options() { set_options(*Options, Read); }
};

template struct OptionsAccess<&Fl::options_, &Fl::options_read_>;

} // namespace

void use_own_options()
{
    fix_options();
}

} // namespace fltk
