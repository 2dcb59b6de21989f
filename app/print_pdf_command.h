// `mirune --print-pdf FILE YYYY-MM [--half first|second]`: renders one month as the main
// window prints it into a PDF file, on the offscreen platform, and exits. For scripts and for
// checking the printed page without a printer or a display.
#pragma once

namespace app {

bool IsPrintPdfCommand(int argc, char** argv);

// Runs the command (it makes its own application object); the process's exit status: 0 when
// the PDF is written, 2 for bad arguments or a failed write, with a message on stderr.
int RunPrintPdfCommand(int argc, char** argv);

}  // namespace app
