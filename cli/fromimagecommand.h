#pragma once

// `quillaby-cli from-image`: turns a picture into a new draft. args are the
// words after "from-image".
int RunFromImageCommand(int argc, char** argv);
