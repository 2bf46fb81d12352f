#pragma once

// quillaby-cli yarns FILE [--json]: lists a yarn database (.txt or .yrn).
// `argc`/`argv` are the words after "yarns". Returns the exit status.
int RunYarnsCommand(int argc, char** argv);
