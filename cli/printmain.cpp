// talikcli-print: print to PDF files, without the libraries of the print system.
#include "cli/printprogram.h"

int main(int argc, char** argv)
{
    talik::RunPrintProgram(argc, argv, nullptr);
}
