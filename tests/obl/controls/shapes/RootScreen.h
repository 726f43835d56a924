// The whole screen of an X display as its server composes it, read through a connection
// of its own (kept apart from the class library's names, which Xlib's clash with).
#pragma once

#include <string>

class Surface;

// The top-left width x height pixels of the root window; false when nothing could be read.
bool ReadRootScreen(const std::string& displayName, int width, int height, Surface& into);
