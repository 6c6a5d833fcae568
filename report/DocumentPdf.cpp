// Placeholder until the page layout lands: an empty document.
#include "DocumentPdf.h"

#include "Document.h"

namespace terraq::report {

Paper PaperOfLocale() { return Paper::A4; }

int PaintDocument(const Document&, QPagedPaintDevice&, Paper) { return 0; }

std::string PdfBytes(const Document&, Paper) { return {}; }

}  // namespace terraq::report
