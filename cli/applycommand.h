#pragma once

// quillaby-cli apply IN OUT OPERATION [ARGS]: runs one whole-draft command.
// argv holds everything after "apply".
int RunApply(int argc, char** argv);
