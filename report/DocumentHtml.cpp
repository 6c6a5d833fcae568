// Placeholder until the HTML writer lands.
#include "DocumentHtml.h"

#include "Document.h"

namespace terraq::report {

std::string HtmlText(const Document&) { return {}; }

}  // namespace terraq::report
