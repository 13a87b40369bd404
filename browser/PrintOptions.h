#pragma once
// The print settings of a pane (margins, header, footer, HTML header lines, orientation).
// Kept as data: the application never prints.
#include <string>

#include "framework/core/ClassInfo.h"
#include "framework/core/Object.h"
#include "framework/core/Strings.h"

enum class TPrintOrientation { poPortrait, poLandscape };
DECLARE_ENUM_NAMES(TPrintOrientation, u"poPortrait", u"poLandscape")
// The unit of the margins: the locale's measurement system (millimetres or inches).
enum class TMeasure { mMetric, mUS };
DECLARE_ENUM_NAMES(TMeasure, u"mMetric", u"mUS")

class TMargins : public TPersistent {
  DECLARE_CLASS(TMargins, TPersistent)
  TMargins() = default;
  double Left() const { return left_; }
  double Right() const { return right_; }
  double Top() const { return top_; }
  double Bottom() const { return bottom_; }
  void SetLeft(double v) { left_ = v; }
  void SetRight(double v) { right_ = v; }
  void SetTop(double v) { top_ = v; }
  void SetBottom(double v) { bottom_ = v; }
  // As published properties: decimal text ("19.05").
  std::u16string LeftText() const { return ToText(left_); }
  std::u16string RightText() const { return ToText(right_); }
  std::u16string TopText() const { return ToText(top_); }
  std::u16string BottomText() const { return ToText(bottom_); }
  void SetLeftText(const std::u16string& t) { left_ = FromText(t, left_); }
  void SetRightText(const std::u16string& t) { right_ = FromText(t, right_); }
  void SetTopText(const std::u16string& t) { top_ = FromText(t, top_); }
  void SetBottomText(const std::u16string& t) { bottom_ = FromText(t, bottom_); }
  void Assign(const TPersistent* source) override;

 private:
  static std::u16string ToText(double v);
  static double FromText(const std::u16string& text, double fallback);
  double left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
};

class TPrintOptions : public TPersistent {
  DECLARE_CLASS(TPrintOptions, TPersistent)
  TPrintOptions();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TMargins* Margins() const { return margins_.get(); }
  void SetMargins(TMargins* margins) { margins_->Assign(margins); }
  const std::u16string& Header() const { return header_; }
  void SetHeader(const std::u16string& v) { header_ = v; }
  const std::u16string& Footer() const { return footer_; }
  void SetFooter(const std::u16string& v) { footer_ = v; }
  // Lines; "<HTML></HTML>" unless set.
  TStrings* HTMLHeader() const { return htmlHeader_.get(); }
  void SetHTMLHeader(TStrings* lines);
  TPrintOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrintOrientation v) { orientation_ = v; }
  TMeasure Measure() const { return measure_; }
  void SetMeasure(TMeasure v) { measure_ = v; }
  void Assign(const TPersistent* source) override;

 protected:
  ~TPrintOptions() override;

 private:
  bool enabled_ = false;
  TOwned<TMargins> margins_;
  std::u16string header_, footer_;
  TOwned<TStringList> htmlHeader_;
  TPrintOrientation orientation_ = TPrintOrientation::poPortrait;
  TMeasure measure_ = TMeasure::mMetric;
};
