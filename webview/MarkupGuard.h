#pragma once
// Markup that would take the layout engine down is mended before it sees it.  The engine
// builds and lays out its tree recursively, so a page of a million unclosed <div>s would
// overflow the stack; the guard drops the tags below a nesting depth (their text stays)
// and clamps colspan and rowspan, which the engine turns into grids of that size.
#include <string>
#include <string_view>

struct TMarkupGuardLimits {
  int MaxDepth = 256;
  int MaxSpan = 1000;
};

std::string GuardMarkup(std::string_view html, const TMarkupGuardLimits& limits = {});
