// `veltrano dump --json`: the document or book view as JSON, for scripts.
// The README documents the layout.
#ifndef VELTRANO_HEADLESS_CLI_DUMP_JSON_H
#define VELTRANO_HEADLESS_CLI_DUMP_JSON_H

#include <string>

#include "document_view.h"

namespace headless::cli {

std::string DocumentJson(const DocumentView& view);
std::string BookJson(const BookView& view);

}  // namespace headless::cli

#endif
