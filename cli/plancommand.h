#pragma once

// quillaby-cli plan FILE [--json] [--metric|--english]
// quillaby-cli density QUANTITY UNIT WEIGHT UNIT
// `argc`/`argv` are the words after the command. Return the exit status.
int RunPlanCommand(int argc, char** argv);
int RunDensityCommand(int argc, char** argv);
