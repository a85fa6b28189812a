// Names shared by the configurator's windows: the title, the single-instance identity and
// the version format.
#pragma once

#include "classlib/core/CString.h"

namespace ZarvoNames {

constexpr const char* kTitlePrefix = "Pirolex";
constexpr const char* kTitleSeparator = ": ";

// The caption of a window of the program: "<title>: <text>".
inline CString TitledCaption(const CString& text) {
    return CString(kTitlePrefix) + kTitleSeparator + text;
}

// The registry layout and the remembered folders live with the registry code
// (link/RecentSettings.h).

// Names the mutex that guards against a second instance and the message by which the
// running instance answers.
constexpr const char* kSingleInstanceText =
    "ZARVO_UNIQUE_IDENTIFIER_TEXT-{6B1F3C2A-9D4E-4F7A-B8C5-2E1D0A9F3B71}";

// How every window shows the program version: major, minor, build, revision.
constexpr const char* kVersionFormat = "v%d.%02d.%d-%04d";

// The maker's web site, which the About box's link opens.
constexpr const char* kWebAddress = "http://www.pirolex.example/";

}  // namespace ZarvoNames
