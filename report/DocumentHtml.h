#pragma once
// The calculation package as one self-contained HTML file: its own style
// sheet, the figures as SVG inside it, nothing loaded from elsewhere; it
// reads in any browser and prints with the browser's page breaks. Qt Gui
// and Svg; needs a QGuiApplication (fonts measure the figures' text).

#include <string>

namespace terraq::report {

struct Document;

// The document as the UTF-8 text of an HTML file.
std::string HtmlText(const Document& document);

}  // namespace terraq::report
