// talikcli-printer: print to CUPS printers (and to PDF files).
#include "cli/printprogram.h"
#include "print/printercanvas.h"

int main(int argc, char** argv)
{
    talik::RunPrintProgram(argc, argv, &talik::PrinterCanvas);
}
