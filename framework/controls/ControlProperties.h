#pragma once
// Groups of published properties that several control classes share.  Each class
// publishes what it really has, so a name test on a class that lacks one fails.
#include "framework/controls/Control.h"
#include "framework/core/Property.h"
#include "framework/graphics/Font.h"

template <class C>
void PublishCaption(TPropertyBuilder<C>& p) {
  p.Text(u"Caption", &TControl::Caption, &TControl::SetCaption);
}

template <class C>
void PublishText(TPropertyBuilder<C>& p) {
  p.Text(u"Text", &TControl::Text, &TControl::SetText);
}

template <class C>
void PublishColor(TPropertyBuilder<C>& p) {
  p.Integer(u"Color", &TControl::Color, &TControl::SetColor);
  p.Boolean(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
}

template <class C>
void PublishFont(TPropertyBuilder<C>& p) {
  p.template Object<TFont>(u"Font", &TControl::Font, &TControl::SetFont);
  p.Boolean(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
}
