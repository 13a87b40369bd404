#include "webview/DefaultStyleSheet.h"

const char* DefaultStyleSheet() {
  return R"css(
html, address, blockquote, body, center, dd, dir, div, dl, dt, fieldset, form, frame,
frameset, h1, h2, h3, h4, h5, h6, hr, menu, noframes, ol, p, pre, ul, xmp, listing, plaintext,
article, aside, details, figcaption, figure, footer, header, main, nav, section, summary {
  display: block;
}
head, script, style, title, meta, link, base, noscript, template, area, param, map, input[type=hidden] {
  display: none;
}
html { color: black; }
body { margin: 8px; line-height: normal; }
li { display: list-item; }
/* An inline block: a second <br> leaves an empty line, a last one none, as in the old control. */
br { display: inline-block; }


p, dl, multicol { margin-top: 1em; margin-bottom: 1em; }
blockquote { margin: 1em 40px; }
address, cite, dfn, em, i, var { font-style: italic; }
b, strong, th { font-weight: bold; }
center { text-align: center; }
h1 { font-size: 2em; margin: .67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: .83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { font-size: 1em; margin: 1.33em 0; font-weight: bold; }
h5 { font-size: .83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: .67em; margin: 2.33em 0; font-weight: bold; }
pre, xmp, listing, plaintext { white-space: pre; margin: 1em 0; }
pre, xmp, listing, plaintext, tt, code, kbd, samp { font-family: monospace; }
nobr { white-space: nowrap; }
big { font-size: 1.17em; }
small, sub, sup { font-size: .83em; }
sub { vertical-align: sub; }
sup { vertical-align: super; }
s, strike, del { text-decoration: line-through; }
u, ins { text-decoration: underline; }
hr { border-style: inset; border-width: 1px; border-color: gray; margin: .5em auto; color: gray; }

ul, ol, dir, menu { margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ul, dir, menu { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul, dir ul, menu ul { list-style-type: circle; }
ul ul ul, ul ol ul, ol ul ul, ol ol ul { list-style-type: square; }
li ul, li ol, li dir, li menu, ul ul, ul ol, ol ul, ol ol { margin-top: 0; margin-bottom: 0; }
dd { margin-left: 40px; }

table { display: table; border-collapse: separate; border-spacing: 2px; text-indent: 0; }
caption { display: table-caption; text-align: center; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
col { display: table-column; }
colgroup { display: table-column-group; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
table[border] { border-style: outset; border-width: 1px; border-color: gray; }
table[border] > tr > td, table[border] > tr > th,
table[border] > tbody > tr > td, table[border] > tbody > tr > th,
table[border] > thead > tr > td, table[border] > thead > tr > th,
table[border] > tfoot > tr > td, table[border] > tfoot > tr > th {
  border-style: inset; border-width: 1px; border-color: gray;
}
table[border="0"], table[border="0"] > tr > td, table[border="0"] > tr > th,
table[border="0"] > tbody > tr > td, table[border="0"] > tbody > tr > th {
  border-style: none; border-width: 0;
}

a:link, a:visited { color: #0000ff; text-decoration: underline; cursor: pointer; }
a:link img, a:visited img { border-color: #0000ff; }
img[border] { border-style: solid; }

img, input, select, textarea, button { display: inline-block; }
input, select, textarea, button { border: 2px inset #c0c0c0; padding: 1px; background-color: white; }
button, input[type=submit], input[type=button], input[type=reset] { border-style: outset; background-color: #d4d0c8; }
)css";
}
