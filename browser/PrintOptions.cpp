#include "browser/PrintOptions.h"

#include <cstdio>
#include <cstdlib>

#include "framework/core/Property.h"
#include "framework/core/Unicode.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TMargins) {
  p.Text(u"Left", &TMargins::LeftText, &TMargins::SetLeftText);
  p.Text(u"Right", &TMargins::RightText, &TMargins::SetRightText);
  p.Text(u"Top", &TMargins::TopText, &TMargins::SetTopText);
  p.Text(u"Bottom", &TMargins::BottomText, &TMargins::SetBottomText);
}

IMPLEMENT_CLASS_WITH_PROPERTIES(TPrintOptions) {
  p.Boolean(u"Enabled", &TPrintOptions::Enabled, &TPrintOptions::SetEnabled);
  p.Object<TMargins>(u"Margins", &TPrintOptions::Margins, &TPrintOptions::SetMargins);
  p.Text(u"Header", &TPrintOptions::Header, &TPrintOptions::SetHeader);
  p.Text(u"Footer", &TPrintOptions::Footer, &TPrintOptions::SetFooter);
  p.Object<TStrings>(u"HTMLHeader", &TPrintOptions::HTMLHeader, &TPrintOptions::SetHTMLHeader);
  p.Enum<TPrintOrientation>(u"Orientation", &TPrintOptions::Orientation, &TPrintOptions::SetOrientation);
  p.Enum<TMeasure>(u"Measure", &TPrintOptions::Measure, &TPrintOptions::SetMeasure);
}

std::u16string TMargins::ToText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%g", v);
  return Utf8ToUtf16(buffer);
}

double TMargins::FromText(const std::u16string& text, double fallback) {
  std::string s = Utf16ToUtf8(Trim(text));
  if (s.empty()) return fallback;
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  return end != nullptr && *end == '\0' ? v : fallback;
}

void TMargins::Assign(const TPersistent* source) {
  if (auto* other = As<TMargins>(source)) {
    left_ = other->left_;
    right_ = other->right_;
    top_ = other->top_;
    bottom_ = other->bottom_;
    return;
  }
  TPersistent::Assign(source);
}

TPrintOptions::TPrintOptions() : margins_(new TMargins), htmlHeader_(new TStringList) {
  htmlHeader_->Add(u"<HTML></HTML>");
}

TPrintOptions::~TPrintOptions() = default;

void TPrintOptions::SetHTMLHeader(TStrings* lines) {
  if (lines != nullptr) htmlHeader_->Assign(lines);
}

void TPrintOptions::Assign(const TPersistent* source) {
  if (auto* other = As<TPrintOptions>(source)) {
    enabled_ = other->enabled_;
    margins_->Assign(other->margins_.get());
    header_ = other->header_;
    footer_ = other->footer_;
    htmlHeader_->Assign(other->htmlHeader_.get());
    orientation_ = other->orientation_;
    measure_ = other->measure_;
    return;
  }
  TPersistent::Assign(source);
}
