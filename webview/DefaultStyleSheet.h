#pragma once
// The view's own master style sheet: the layout engine ships none.  Defaults follow what
// the old browser control showed for the same markup (宋体 16 px, blue underlined links,
// bordered tables when the border attribute is set).
const char* DefaultStyleSheet();
