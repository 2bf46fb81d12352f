#pragma once

// `quillaby-cli print`: the draft's pages as a PDF file. The drawing needs
// QtGui, which this program does without, so the command runs the program
// quillaby-cli-print installed beside it with the same arguments.
int RunPrintCommand(int argc, char** argv);
