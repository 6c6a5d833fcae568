#pragma once
// The calculation package on paper: the document (Document.h) laid out on
// A4 or Letter pages with vector graphics and embedded fonts, a running
// header with the project and "Page N of M" on every page after the title
// page. One layout serves the PDF file and any other paged device (the
// preview's printer). Qt Gui only; needs a QGuiApplication (fonts).

#include <string>

class QPagedPaintDevice;

namespace terraq::report {

struct Document;

enum class Paper { A4, Letter };

// The paper of the user's locale: Letter where it is the custom (the United
// States, Canada, Mexico, and the rest of the Americas that use it, the
// Philippines), A4 elsewhere.
Paper PaperOfLocale();

// Lays the document out on the device's pages (its page layout is set to
// `paper` with the package's margins) and paints every page. Returns the
// number of pages, 0 when the device could not be painted on.
int PaintDocument(const Document& document, QPagedPaintDevice& device, Paper paper);

// The document as the bytes of a PDF file (at 600 dpi: every length to
// 1/600 in); empty when it could not be made.
std::string PdfBytes(const Document& document, Paper paper);

}  // namespace terraq::report
