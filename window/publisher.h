// The publisher's web address: it heads the window caption and fills the
// company, copyright and trademark fields of the version information, so it
// lives here once. A macro, because resource scripts include this file too;
// cmake/Install.cmake reads it from here for the packages' publisher fields.
#pragma once

#define TAVREL_PUBLISHER_WEB_ADDRESS "www.example.org"
