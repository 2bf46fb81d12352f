#pragma once

// `quillaby-cli floats`: lists the floats of a draft. args are the words after
// "floats".
int RunFloatsCommand(int argc, char** argv);
