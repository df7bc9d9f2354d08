// The files the program works on: MIF files on disk, under the names the
// plug-in gives them ("X.fm" is found as "X.mif" when there is no "X.fm").
#ifndef VELTRANO_HEADLESS_CLI_MIF_FILES_H
#define VELTRANO_HEADLESS_CLI_MIF_FILES_H

#include "cli_io.h"

namespace headless::cli {

Files MifFiles();

}  // namespace headless::cli

#endif
