#pragma once

// quillaby-cli weave FILE --head NAME --port DEVICE [--shafts N] [--start-pick P] [--picks K]
// `argc`/`argv` are the words after "weave". Returns the exit status.
int RunWeaveCommand(int argc, char** argv);
